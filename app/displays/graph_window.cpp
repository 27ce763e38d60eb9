#include "displays/graph_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace vornscope {
namespace {

constexpr int kLabelMargin = 50;
constexpr int kReadoutBand = 70;
constexpr int kScrollBar = 20;
constexpr int kTabHeight = 20;
constexpr int kVerticalSteps = 100;

QString formatted(const char* format, double value)
{
    return QString::asprintf(format, value);
}

} // namespace

CGraphWindow::CGraphWindow(QWidget* parent)
    : QWidget(parent), tabs_(new QTabBar(this)), pos_(new QRadioButton(QStringLiteral("Pos"), this)),
      ang_(new QRadioButton(QStringLiteral("Ang"), this)), up_(new QPushButton(QStringLiteral("Up"), this)),
      down_(new QPushButton(QStringLiteral("Down"), this)), horizontal_(new QScrollBar(Qt::Horizontal, this)),
      vertical_(new QScrollBar(Qt::Vertical, this))
{
    setObjectName(QStringLiteral("graphWindow"));
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    pos_->setChecked(true);
    tabs_->hide();
    vertical_->setRange(-kVerticalSteps, kVerticalSteps);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { selectSensor(index + 1); });
    connect(pos_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            selectQuantity(0);
    });
    connect(ang_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            selectQuantity(1);
    });
    connect(up_, &QPushButton::clicked, this, [this] { Q_EMIT rateChangeRequested(0.2); });
    connect(down_, &QPushButton::clicked, this, [this] { Q_EMIT rateChangeRequested(-0.2); });
    connect(horizontal_, &QScrollBar::valueChanged, this, [this](int value) {
        if (static_cast<int>(view_.state.start) != value) {
            view_.scrollTo(value);
            update();
        }
    });
    // The vertical bar moves all three traces by a tenth of the scale per step.
    connect(vertical_, &QScrollBar::valueChanged, this, [this](int value) {
        const double step = view_.state.scale / 10 * (value - verticalPosition_);
        for (double& offset : view_.state.offsets)
            offset -= step;
        verticalPosition_ = value;
        update();
    });
}

PlotArea CGraphWindow::plotArea() const
{
    const double w = std::max(width() - kLabelMargin - kScrollBar, 1);
    const double h = std::max(height() - kReadoutBand - kScrollBar, 1);
    return PlotArea {kLabelMargin, 0, w, h};
}

void CGraphWindow::selectSensor(int sensor)
{
    sensor_ = std::clamp(sensor, 1, std::max(data_.sensorCount(), 1));
    if (tabs_->count() >= sensor_ && tabs_->currentIndex() != sensor_ - 1)
        tabs_->setCurrentIndex(sensor_ - 1);
    update();
}

void CGraphWindow::selectQuantity(int quantity)
{
    quantity_ = quantity == 1 ? 1 : 0;
    (quantity_ == 0 ? pos_ : ang_)->setChecked(true);
    update();
}

void CGraphWindow::setRateButtonsEnabled(bool on)
{
    up_->setEnabled(on);
    down_->setEnabled(on);
}

void CGraphWindow::appendPoint(const SampleFrame& frame)
{
    if (data_.empty()) {
        // The first point fixes the sensors: those the frame carries data for.
        int sensors = 0;
        for (int unit = 1; unit < VORN_UNIT_COUNT; ++unit)
            if (frame.sensors[static_cast<std::size_t>(unit)].content != 0)
                sensors = unit;
        data_.setSensorCount(std::max(sensors, 1));
        sensor_ = 1;
        selectQuantity(0);
    }
    data_.append(frame);
    view_.pointAdded(data_.count());
    changed();
}

void CGraphWindow::resetGraph()
{
    data_.clear();
    view_.reset();
    sensor_ = 1;
    changed();
}

void CGraphWindow::showFile(GraphData&& data)
{
    data_ = std::move(data);
    view_.fileRead(data_.count());
    sensor_ = 1;
    selectQuantity(0);
    changed();
}

void CGraphWindow::changed()
{
    if (tabsFor_ != data_.sensorCount())
        rebuildTabs();
    syncScrollBar();
    update();
}

void CGraphWindow::rebuildTabs()
{
    tabsFor_ = data_.sensorCount();
    const QSignalBlocker block(tabs_);
    while (tabs_->count() > 0)
        tabs_->removeTab(0);
    for (int sensor = 1; sensor <= data_.sensorCount(); ++sensor)
        tabs_->addTab(QString::number(sensor));
    tabs_->setVisible(data_.sensorCount() > 1);
    tabs_->setCurrentIndex(sensor_ - 1);
}

void CGraphWindow::syncScrollBar()
{
    const QSignalBlocker block(horizontal_);
    horizontal_->setRange(0, static_cast<int>(data_.count()));
    horizontal_->setPageStep(scrollPage(view_.width()));
    horizontal_->setSingleStep(std::max(scrollPage(view_.width()) / 10, 1));
    horizontal_->setValue(static_cast<int>(view_.state.start));
}

void CGraphWindow::zoomIn()
{
    view_.zoomIn(data_.count());
    changed();
}
void CGraphWindow::zoomOut()
{
    view_.zoomOut();
    changed();
}
void CGraphWindow::shiftLeft()
{
    view_.shiftLeft();
    changed();
}
void CGraphWindow::shiftRight()
{
    view_.shiftRight(data_.count());
    changed();
}

void CGraphWindow::applyScaling(double verticalDistance, double offsetAdjustment, double pointsPerScreen)
{
    view_.applyScaling(verticalDistance, offsetAdjustment, pointsPerScreen);
    changed();
}

void CGraphWindow::resizeEvent(QResizeEvent*)
{
    layoutControls();
}

void CGraphWindow::layoutControls()
{
    int w = width();
    const int h = height();
    horizontal_->setGeometry(0, h - kScrollBar, w - kScrollBar, kScrollBar);
    vertical_->setGeometry(w - kScrollBar, 0, kScrollBar, h - kScrollBar);
    const int bandBottom = h - kScrollBar;
    // The controls share the width left of the vertical scroll bar.
    w -= kScrollBar;
    // The tabs start right of the read-out (its last row shares their height)
    // and end before "Pos" / "Ang".
    const QFontMetrics metrics(font());
    const auto columns = readoutColumns(width(), metrics.horizontalAdvance(QStringLiteral("-179.9999")));
    const int readoutRight = static_cast<int>(columns[3]) + metrics.horizontalAdvance(QStringLiteral("-9999.999  "));
    const int tabsLeft = std::max(w * 45 / 100, readoutRight);
    tabs_->setGeometry(tabsLeft, bandBottom - kTabHeight,
                       std::max(std::min(w * 30 / 100, w * 80 / 100 - 4 - tabsLeft), 40), kTabHeight);
    pos_->setGeometry(w * 80 / 100, bandBottom - 2 * kTabHeight - 4, w * 9 / 100, kTabHeight);
    ang_->setGeometry(w * 90 / 100, bandBottom - 2 * kTabHeight - 4, w * 9 / 100, kTabHeight);
    up_->setGeometry(w * 80 / 100, bandBottom - kTabHeight - 2, w * 9 / 100, kTabHeight);
    down_->setGeometry(w * 90 / 100, bandBottom - kTabHeight - 2, w * 9 / 100, kTabHeight);
}

void CGraphWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const PlotArea plot = plotArea();
    painter.fillRect(QRectF(plot.left, plot.top, plot.width, plot.height), Qt::black);
    painter_.drawTraces(painter, plot, data_, view_, sensor_, quantity_);
    if (!data_.empty()) {
        paintCursor(painter, plot, view_.cursor1, QPen(Qt::white, 1, Qt::SolidLine));
        paintCursor(painter, plot, view_.cursor2, QPen(QColor(255, 255, 0), 1, Qt::DashLine));
    }
    if (banding_) {
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(bandStart_, bandEnd_).normalized());
    }
    paintLabels(painter, plot);
    paintReadouts(painter, plot);
}

void CGraphWindow::paintCursor(QPainter& painter, const PlotArea& plot, std::size_t sample, const QPen& pen)
{
    const double x = view_.xOfSample(static_cast<double>(sample), plot);
    if (x < plot.left || x > plot.left + plot.width)
        return;
    painter.setPen(pen);
    painter.drawLine(QPointF(x, plot.top), QPointF(x, plot.bottom()));
}

void CGraphWindow::paintLabels(QPainter& painter, const PlotArea& plot)
{
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font());
    painter.drawText(QPointF(2, plot.top + metrics.ascent()), QStringLiteral("---------"));
    painter.drawText(QPointF(2, plot.top + plot.height / 2 + metrics.ascent() / 2.0),
                     formatted("%-3.2f", view_.state.scale * 0.8));
    painter.drawText(QPointF(2, plot.bottom()), QStringLiteral("---------"));
    const double labelY = plot.bottom() + metrics.height();
    painter.drawText(QPointF(plot.left, labelY), QString::asprintf("%d  ", static_cast<int>(view_.state.start)));
    const QString endLabel = QString::asprintf("%d  ", static_cast<int>(view_.state.end));
    painter.drawText(QPointF(plot.left + plot.width - metrics.horizontalAdvance(endLabel), labelY), endLabel);
}

void CGraphWindow::paintReadouts(QPainter& painter, const PlotArea& plot)
{
    if (data_.empty() || sensor_ > data_.sensorCount())
        return;
    const QFontMetrics metrics(font());
    const double first = plot.bottom() + 2 * metrics.height() + 2;
    const std::size_t cursors[] = {std::min(view_.cursor1, data_.count() - 1),
                                   std::min(view_.cursor2, data_.count() - 1)};
    const char* names[] = {"1:", "2:", "d:"};
    const auto columns = readoutColumns(width(), metrics.horizontalAdvance(QStringLiteral("-179.9999")));
    for (int row = 0; row < 3; ++row) {
        const double y = first + row * metrics.height();
        painter.setPen(Qt::black);
        painter.drawText(QPointF(2, y), QString::fromLatin1(names[row]));
        for (int axis = 0; axis < 3; ++axis) {
            const double a = data_.value(cursors[0], sensor_, quantity_, axis);
            const double b = data_.value(cursors[1], sensor_, quantity_, axis);
            const double shown = row == 0 ? a : row == 1 ? b : a - b;
            painter.setPen(traceColour(axis));
            painter.drawText(QPointF(columns[static_cast<std::size_t>(axis)], y), formatted("%-3.4f   ", shown));
        }
        const double t1 = data_.time(cursors[0]);
        const double t2 = data_.time(cursors[1]);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(columns[3], y), formatted("%-3.3f    ", row == 0 ? t1 : row == 1 ? t2 : t1 - t2));
    }
}

std::size_t CGraphWindow::sampleUnder(double x) const
{
    const double sample = std::round(view_.sampleAtX(x, plotArea()));
    return static_cast<std::size_t>(std::max(sample, 0.0));
}

void CGraphWindow::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    const PlotArea plot = plotArea();
    const QPointF at = event->position();
    const bool inPlot = at.x() >= plot.left && at.y() <= plot.bottom();
    if (event->button() == Qt::RightButton) {
        if (view_.popHistory())
            changed();
        return;
    }
    if (event->button() != Qt::LeftButton || !inPlot)
        return;
    if (event->modifiers() & Qt::ControlModifier) {
        banding_ = true;
        bandStart_ = bandEnd_ = at;
        return;
    }
    view_.placeCursor(event->modifiers() & Qt::ShiftModifier ? 2 : 1, sampleUnder(at.x()), data_.count());
    update();
}

void CGraphWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!banding_)
        return;
    bandEnd_ = event->position();
    update();
}

void CGraphWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (!banding_ || event->button() != Qt::LeftButton)
        return;
    banding_ = false;
    bandEnd_ = event->position();
    view_.rubberBand(bandStart_.x(), bandStart_.y(), bandEnd_.x(), bandEnd_.y(), plotArea());
    changed();
}

void CGraphWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    const PlotArea plot = plotArea();
    if (event->position().x() >= plot.left && event->position().y() < height() - kScrollBar)
        Q_EMIT scalingRequested();
}

void CGraphWindow::keyPressEvent(QKeyEvent* event)
{
    const int which = event->modifiers() & Qt::ShiftModifier ? 2 : 1;
    const long step =
        event->modifiers() & Qt::ControlModifier ? std::max(static_cast<long>(view_.width() / 10), 1L) : 1L;
    const std::size_t count = data_.count();
    switch (event->key()) {
    case Qt::Key_Left: view_.moveCursor(which, -step, count); break;
    case Qt::Key_Right: view_.moveCursor(which, step, count); break;
    case Qt::Key_Home: view_.placeCursor(which, 0, count); break;
    case Qt::Key_End: view_.placeCursor(which, count == 0 ? 0 : count - 1, count); break;
    default: QWidget::keyPressEvent(event); return;
    }
    update();
}

void CGraphWindow::wheelEvent(QWheelEvent* event)
{
    if (event->angleDelta().y() > 0)
        shiftLeft();
    else if (event->angleDelta().y() < 0)
        shiftRight();
    event->accept();
}

} // namespace vornscope
