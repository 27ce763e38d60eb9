// CGraphWindow: the graph of stored data points, a child of the view. It
// owns the stored points and what part of them is shown; the sensor tabs,
// "Pos" / "Ang", "Up" / "Down", the scroll bars, cursors and read-outs, the
// mouse and keys. Points only mark the window dirty: Qt paints at most once
// per event-loop pass, however fast they come.
#pragma once

#include "core/graph_data.h"
#include "core/graph_view.h"
#include "displays/graph_painter.h"

#include <QWidget>

class QRadioButton;
class QPushButton;
class QScrollBar;
class QTabBar;

namespace vornscope {

class CGraphWindow : public QWidget {
    Q_OBJECT
public:
    explicit CGraphWindow(QWidget* parent = nullptr);

    const GraphData& data() const { return data_; }
    GraphView& graphView() { return view_; }
    const GraphView& graphView() const { return view_; }
    int selectedSensor() const { return sensor_; }
    int quantity() const { return quantity_; }
    void selectSensor(int sensor);
    void selectQuantity(int quantity);
    // "Up" and "Down" change the units' rate: only while they are set up.
    void setRateButtonsEnabled(bool on);

    // A data point taken in graph mode.
    void appendPoint(const SampleFrame& frame);
    // Reset View: no points, window 0..0, cursors 0, scale 10.
    void resetGraph();
    // A file read into the graph.
    void showFile(GraphData&& data);

    void zoomIn();
    void zoomOut();
    void shiftLeft();
    void shiftRight();
    // Graph Scaling: shown values and the dialog's result.
    void applyScaling(double verticalDistance, double offsetAdjustment, double pointsPerScreen);

    PlotArea plotArea() const;
    // The key and wheel input the view forwards.
    void forwardKey(QKeyEvent* event) { keyPressEvent(event); }
    void forwardWheel(QWheelEvent* event) { wheelEvent(event); }

Q_SIGNALS:
    // "Up" (+0.2) or "Down" (-0.2) was pressed.
    void rateChangeRequested(double delta);
    void scalingRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void rebuildTabs();
    void layoutControls();
    void syncScrollBar();
    void changed();
    void paintLabels(QPainter& painter, const PlotArea& plot);
    void paintReadouts(QPainter& painter, const PlotArea& plot);
    void paintCursor(QPainter& painter, const PlotArea& plot, std::size_t sample, const QPen& pen);
    std::size_t sampleUnder(double x) const;

    GraphData data_;
    GraphView view_;
    GraphPainter painter_;
    int sensor_ = 1;
    int quantity_ = 0;
    int tabsFor_ = -1;
    QTabBar* tabs_;
    QRadioButton* pos_;
    QRadioButton* ang_;
    QPushButton* up_;
    QPushButton* down_;
    QScrollBar* horizontal_;
    QScrollBar* vertical_;
    int verticalPosition_ = 0;
    bool banding_ = false;
    QPointF bandStart_;
    QPointF bandEnd_;
};

} // namespace vornscope
