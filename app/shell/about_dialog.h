// "&About Vornscope...": the program's name and version.
#pragma once

#include <QDialog>

namespace vornscope {

inline constexpr const char* kVornscopeVersion = VORNSCOPE_VERSION;

class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent);
};

} // namespace vornscope
