#include "shell/about_dialog.h"

#include "shell/drawn_icons.h"

#include <vorn/vorn.h>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

namespace vornscope {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Vornscope"));
    auto* icon = new QLabel;
    icon->setPixmap(applicationIcon().pixmap(48, 48));
    auto* name = new QLabel(QStringLiteral("Vornscope Version %1").arg(QLatin1String(kVornscopeVersion)));
    name->setObjectName(QStringLiteral("versionLabel"));
    char libraryVersion[8] = {};
    vornGetDllVersion(libraryVersion);
    auto* library = new QLabel(QStringLiteral("Vorn driver library %1").arg(QLatin1String(libraryVersion)));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &AboutDialog::accept);
    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(library, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
}

} // namespace vornscope
