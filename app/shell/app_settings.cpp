#include "shell/app_settings.h"

#include <QCoreApplication>
#include <QSettings>

namespace vornscope {

void initialiseSettings()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(QStringLiteral("Vornscope"));
}

QStringList loadRecentFiles()
{
    QSettings settings;
    QStringList files;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString path = settings.value(QStringLiteral("Recent File List/File%1").arg(i)).toString();
        if (!path.isEmpty())
            files << path;
    }
    return files;
}

void saveRecentFiles(const QStringList& files)
{
    QSettings settings;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString key = QStringLiteral("Recent File List/File%1").arg(i);
        if (i <= files.size())
            settings.setValue(key, files[i - 1]);
        else
            settings.remove(key);
    }
}

QStringList withRecentFile(QStringList files, const QString& path)
{
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentFileCount)
        files.removeLast();
    return files;
}

void saveWindowGeometry(const QByteArray& geometry)
{
    QSettings().setValue(QStringLiteral("Settings/Geometry"), geometry);
}

QByteArray loadWindowGeometry()
{
    return QSettings().value(QStringLiteral("Settings/Geometry")).toByteArray();
}

} // namespace vornscope
