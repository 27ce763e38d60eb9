// Settings under "Local AppWizard-Generated Applications": the recent file
// list (6 entries) and the main window's place. Nothing else is stored.
#pragma once

#include <QByteArray>
#include <QStringList>

namespace vornscope {

inline constexpr int kRecentFileCount = 6;

// Sets the organisation and application names QSettings files settings under.
void initialiseSettings();
QStringList loadRecentFiles();
void saveRecentFiles(const QStringList& files);
// The list with `path` moved (or added) to the front, at most 6 entries.
QStringList withRecentFile(QStringList files, const QString& path);
void saveWindowGeometry(const QByteArray& geometry);
QByteArray loadWindowGeometry();

} // namespace vornscope
