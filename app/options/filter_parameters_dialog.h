// "Filter Parameters": the Alpha Min, Alpha Max and Vm tables as seven
// vertical sliders each (closest range on the left), and the line frequency.
#pragma once

#include "core/sensor_options.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QSlider;
class QTabWidget;

namespace vornscope {

class FilterParametersDialog final : public QDialog {
    Q_OBJECT
public:
    FilterParametersDialog(const SensorPageValues& page, QWidget* parent);
    // The page with the dialog's values copied in (after OK).
    const SensorPageValues& page() const { return page_; }
    void accept() override;

    QTabWidget* tabs() const { return tabs_; }

private:
    enum class Table { AlphaMin, AlphaMax, Vm };
    struct Column {
        QSlider* slider;
        QLineEdit* edit;
    };
    QWidget* buildTable(Table table);
    QWidget* buildLineFrequency();
    void showValue(Table table, std::size_t k, double value);
    bool readTable(Table table);

    SensorPageValues page_;
    QTabWidget* tabs_;
    std::array<std::array<Column, VORN_FILTER_ENTRIES>, 3> columns_ {};
    QLineEdit* lineFrequency_ = nullptr;
};

} // namespace vornscope
