#include "document/vornscope_view.h"

#include "acquisition/acquisition_hub.h"
#include "core/animate_geometry.h"
#include "core/command_ids.h"
#include "core/data_file_reader.h"
#include "core/system_options.h"
#include "core/vorn_group.h"
#include "datafiles/data_file_commands.h"
#include "displays/animate_display.h"
#include "displays/distortion_bar.h"
#include "displays/distortion_command.h"
#include "displays/graph_printer.h"
#include "displays/graph_scaling_dialog.h"
#include "displays/graph_window.h"
#include "displays/numeric_display.h"
#include "document/vornscope_doc.h"
#include "options/sensor_options_command.h"
#include "options/system_options_command.h"
#include "setup/setup_command.h"
#include "shell/message_boxes.h"

#include <vorn/vorn.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollBar>

#include <atomic>

namespace vornscope {
namespace {

QColor colourFromWord(std::uint32_t word)
{
    // Colour words are 0x00BBGGRR.
    return QColor(static_cast<int>(word & 0xFF), static_cast<int>((word >> 8) & 0xFF),
                  static_cast<int>((word >> 16) & 0xFF));
}

int nextViewHandle()
{
    static std::atomic<int> counter {1};
    return counter.fetch_add(1);
}

} // namespace

const CVornscopeView::Route CVornscopeView::kRoutes[] = {
    {ID_SETUP_RS232, &CVornscopeView::setupRs232},
    {ID_SETUP_ISA, &CVornscopeView::setupIsa},
    {ID_SETUP_TCPIP, &CVornscopeView::setupTcpip},
    {ID_SHUT_DOWN, &CVornscopeView::shutDown},
    {ID_SENSOR_OPTIONS, &CVornscopeView::sensorOptions},
    {ID_SENSOR_OPTIONS_TB, &CVornscopeView::sensorOptions},
    {ID_SYSTEM_OPTIONS, &CVornscopeView::systemOptions},
    {ID_SYSTEM_OPTIONS_TB, &CVornscopeView::systemOptions},
    {ID_STREAM, &CVornscopeView::stream},
    {ID_STREAM_TB, &CVornscopeView::stream},
    {ID_POINT, &CVornscopeView::point},
    {ID_POINT_TB, &CVornscopeView::point},
    {ID_ANIMATE, &CVornscopeView::animate},
    {ID_ANIMATE_TB, &CVornscopeView::animate},
    {ID_GRAPH, &CVornscopeView::graph},
    {ID_GRAPH_TB, &CVornscopeView::graph},
    {ID_BALL, &CVornscopeView::ball},
    {ID_BALL_TB, &CVornscopeView::ball},
    {ID_DISTORTION, &CVornscopeView::distortion},
    {ID_DISTORTION_TB, &CVornscopeView::distortion},
    {ID_SAVE_DATA_OPTIONS, &CVornscopeView::saveDataOptions},
    {ID_SAVE_DATA, &CVornscopeView::saveData},
    {ID_GRAPH_OPTIONS, &CVornscopeView::graphOptions},
    {ID_FILE_SAVE, &CVornscopeView::fileSave},
    {ID_FILE_SAVE_AS, &CVornscopeView::fileSave},
    {ID_FILE_PRINT, &CVornscopeView::print},
    {ID_FILE_PRINT_PREVIEW, &CVornscopeView::print},
    {ID_RESET_VIEW, &CVornscopeView::resetView},
    {ID_RESET_VIEW_TB, &CVornscopeView::resetView},
    {ID_SHIFT_RIGHT, &CVornscopeView::animateStep},
    {ID_SHIFT_RIGHT_TB, &CVornscopeView::animateStep},
    {ID_SHIFT_LEFT, &CVornscopeView::animateStep},
    {ID_SHIFT_LEFT_TB, &CVornscopeView::animateStep},
    {ID_SHIFT_UP, &CVornscopeView::animateStep},
    {ID_SHIFT_UP_TB, &CVornscopeView::animateStep},
    {ID_SHIFT_DOWN, &CVornscopeView::animateStep},
    {ID_SHIFT_DOWN_TB, &CVornscopeView::animateStep},
    {ID_ZOOM_IN, &CVornscopeView::animateStep},
    {ID_ZOOM_IN_TB, &CVornscopeView::animateStep},
    {ID_ZOOM_OUT, &CVornscopeView::animateStep},
    {ID_ZOOM_OUT_TB, &CVornscopeView::animateStep},
};

CVornscopeView::CVornscopeView(CVornscopeDoc* document, QWidget* parent)
    : QWidget(parent), document_(document), mutexName_(viewMutexName(nextViewHandle())),
      mutex_(openNamedMutex(mutexName_)),
      modes_(std::make_unique<AcquisitionModes>(static_cast<AcquisitionHost&>(*this), document->session(), mutex_,
                                                state_)),
      numeric_(std::make_unique<NumericDisplay>()), numericScroll_(new QScrollBar(Qt::Vertical, this))
{
    numericScroll_->setObjectName(QStringLiteral("numericScroll"));
    numericScroll_->hide();
    connect(numericScroll_, &QScrollBar::valueChanged, this, qOverload<>(&CVornscopeView::update));
    setAcceptDrops(true);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 120);
    connect(document_, &CVornscopeDoc::textItemChanged, this, &CVornscopeView::repaintItem);
    connect(document_, &CVornscopeDoc::textItemsCleared, this, [this] {
        pageBottom_ = 0;
        updateNumericScroll();
        update();
    });
}

CVornscopeView::~CVornscopeView()
{
    // The modes end as leaving them does (animate gives the formats back)
    // while the units and this view still exist; then the group goes.
    document_->session().shutDown();
    modes_.reset();
}

bool CVornscopeView::onCommand(int id)
{
    for (const Route& route : kRoutes) {
        if (route.id == id) {
            (this->*route.handler)(id);
            Q_EMIT stateChanged();
            return true;
        }
    }
    return false;
}

void CVornscopeView::setupRs232(int)
{
    SetupCommand(*this).run(Transport::RS232);
}
void CVornscopeView::setupIsa(int)
{
    SetupCommand(*this).run(Transport::ISA);
}
void CVornscopeView::setupTcpip(int)
{
    SetupCommand(*this).run(Transport::TCPIP);
}
void CVornscopeView::sensorOptions(int)
{
    SensorOptionsCommand(*this).run();
}
void CVornscopeView::systemOptions(int)
{
    SystemOptionsCommand(*this).run();
    // A running thread takes the new samplesPerPoint and rate from its next data point.
    modes_->hub().setSamplesPerPoint(document_->samplesPerPoint());
    modes_->unitsChanged();
}

void CVornscopeView::shutDown(int)
{
    if (!state_.setUp) {
        refuseNotSetUp();
        return;
    }
    endSession();
}

void CVornscopeView::endSession()
{
    // The modes end first, as leaving them does.
    document_->session().shutDown();
    clearView();
    state_.setUp = false;
}

void CVornscopeView::unitsLost(const QString& reason)
{
    // The group is of no more use: shutting it down closes the line or the
    // connection, so the next setup starts afresh.
    endSession();
    const std::string lost = text::kUnitsLost + reason.toStdString();
    showStatusLine(lost.c_str());
    Q_EMIT statusMessage(QString::fromStdString(lost));
    Q_EMIT stateChanged();
    messageSink().show(lost + "\n" + text::kUnitsLostAdvice, "", MessageIcon::Exclamation, MessageButtons::Ok);
}

void CVornscopeView::stream(int)
{
    modes_->toggleStream();
}
void CVornscopeView::point(int)
{
    modes_->togglePoint();
}
void CVornscopeView::animate(int)
{
    modes_->toggleAnimate();
}
void CVornscopeView::ball(int)
{
    modes_->toggleBall();
}
void CVornscopeView::distortion(int)
{
    DistortionCommand(*this).run();
}
void CVornscopeView::saveDataOptions(int)
{
    DataFileCommands(*this).saveDataOptions();
}
void CVornscopeView::saveData(int)
{
    DataFileCommands(*this).saveData();
}

void CVornscopeView::fileSave(int)
{
    if (state_.graphVisible)
        DataFileCommands(*this).saveGraph();
    else
        DataFileCommands(*this).saveDataOptions();
}

void CVornscopeView::openAndGraph(const QString& path)
{
    if (DataFileCommands(*this).openAndGraph(path))
        Q_EMIT fileOpened(path);
}

void CVornscopeView::graph(int)
{
    setGraphMode(!state_.graphMode);
}

void CVornscopeView::setGraphMode(bool on, double heightShare)
{
    if (!on) {
        state_.graphMode = state_.graphVisible = false;
        if (graph_)
            graph_->hide();
        return;
    }
    modes_->endAll();
    state_.graphMode = state_.graphVisible = true;
    CGraphWindow* window = graphWindow();
    graphHeightShare_ = heightShare;
    placeGraph();
    window->graphView().state.scale = GraphView::kDefaultScale;
    clearView();
    window->show();
    window->raise();
    window->setFocus();
}

void CVornscopeView::placeGraph()
{
    graph_->setGeometry(0, 0, std::max(width() - 20, 100),
                        std::max(static_cast<int>(graphHeightShare_ * height()), 100));
}

CGraphWindow* CVornscopeView::graphWindow()
{
    if (!graph_) {
        graph_ = new CGraphWindow(this);
        graph_->hide();
        connect(graph_, &CGraphWindow::rateChangeRequested, this, &CVornscopeView::changeRate);
        connect(graph_, &CGraphWindow::scalingRequested, this, [this] { graphOptions(ID_GRAPH_OPTIONS); });
        graph_->setRateButtonsEnabled(state_.setUp);
        connect(this, &CVornscopeView::stateChanged, graph_, [this] { graph_->setRateButtonsEnabled(state_.setUp); });
    }
    return graph_;
}

CAnimateDisplay* CVornscopeView::animateDisplay()
{
    if (!animate_) {
        animate_ = new CAnimateDisplay(this);
        animate_->setGeometry(rect());
        animate_->hide();
    }
    return animate_;
}

CDistortionBar* CVornscopeView::distortionBar()
{
    if (!bar_) {
        bar_ = new CDistortionBar(this);
        bar_->hide();
    }
    return bar_;
}

void CVornscopeView::showAnimateDisplay(bool on)
{
    if (!on && !animate_)
        return;
    animateDisplay()->setVisible(on);
    if (on) {
        animate_->setGeometry(rect());
        animate_->lower();
    }
}

void CVornscopeView::showDistortion(bool on)
{
    distortionBar()->setVisible(on);
    if (on) {
        bar_->followParent();
        bar_->raise();
    }
    placeNumericScroll();
}

void CVornscopeView::graphOptions(int)
{
    if (!state_.graphVisible || !graph_)
        return;
    const GraphView& view = graph_->graphView();
    GraphScalingDialog dialog(view.state.scale * 0.8, view.width(), this);
    if (dialog.exec() == QDialog::Accepted)
        graph_->applyScaling(dialog.verticalDistance(), dialog.offsetAdjustment(), dialog.pointsPerScreen());
}

void CVornscopeView::printGraph(QPrinter& printer)
{
    if (!graph_)
        return;
    QPainter painter(&printer);
    const QRectF page = printer.pageLayout()
                            .paintRectPixels(printer.resolution())
                            .translated(-printer.pageLayout().paintRectPixels(printer.resolution()).topLeft());
    vornscope::printGraph(painter, page, graph_->data(), graph_->graphView(), graph_->selectedSensor(),
                          graph_->quantity());
}

void CVornscopeView::print(int id)
{
    if (!state_.graphVisible)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (id == ID_FILE_PRINT_PREVIEW) {
        QPrintPreviewDialog preview(&printer, this);
        connect(&preview, &QPrintPreviewDialog::paintRequested, this,
                [this](QPrinter* target) { printGraph(*target); });
        preview.exec();
        return;
    }
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        printGraph(printer);
}

void CVornscopeView::resetView(int)
{
    if (state_.graphVisible && messageSink().show(text::kResetWarning, "Warning", MessageIcon::Exclamation,
                                                  MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    zoom = 1.0;
    shiftX = shiftY = 0;
    if (state_.graphMode && graph_)
        graph_->resetGraph();
    clearView();
}

void CVornscopeView::changeRate(double delta)
{
    CVornGroup* group = document_->group();
    if (!state_.setUp || group == nullptr)
        return;
    std::optional<std::string> refused;
    {
        const std::lock_guard lock(*mutex_);
        refused = setMeasurementRate(programLibrary(), *group, group->systemConfig.measurementRate + delta);
    }
    if (refused) {
        Q_EMIT statusMessage(QString::fromStdString(*refused).replace('\n', ' '));
        return;
    }
    modes_->unitsChanged();
    Q_EMIT statusMessage(tr("Measurement rate %1 per second").arg(group->systemConfig.measurementRate, 0, 'f', 1));
}

void CVornscopeView::takePoints(const std::vector<SampleFrame>& points, std::size_t count)
{
    if (count == 0)
        return;
    const SampleFrame& newest = points[count - 1];
    CVornGroup* group = document_->group();
    if (state_.animating) {
        if (!group)
            return;
        std::vector<int> units = group->presentUnits();
        std::vector<double> ranges;
        for (int unit : units)
            ranges.push_back(group->deviceConfig[static_cast<std::size_t>(unit)].scaling);
        animateDisplay()->showPoint(newest, units, ranges, AnimateFrame {zoom, shiftX, shiftY, width(), height()},
                                    state_.ball);
        return;
    }
    if (state_.graphMode) {
        for (std::size_t i = 0; i < count; ++i)
            graphWindow()->appendPoint(points[i]);
        return;
    }
    if (state_.sendToTarget && targetFile_.isOpen() && group) {
        const FrameLineOptions options {state_.distortionOn, showTimes};
        const std::vector<int> units = group->presentUnits();
        for (std::size_t i = 0; i < count; ++i)
            if (!targetFile_.write(targetFrameText(points[i], units, options)))
                Q_EMIT statusMessage(tr("The target file refused the data (disk full?)"));
    }
    showNumeric(newest);
}

ModeSettings CVornscopeView::modeSettings() const
{
    return ModeSettings {state_.setUp, document_->samplesPerPoint(), state_.distortionOn, state_.graphMode};
}

void CVornscopeView::setSamplesPerPoint(int samples)
{
    document_->setSamplesPerPoint(samples);
}

void CVornscopeView::showModeScreen(ModeScreen screen)
{
    switch (screen) {
    case ModeScreen::Cleared: clearView(); break;
    case ModeScreen::PointHelp:
        clearView();
        showStatusLine(text::kPointModeHelp);
        break;
    case ModeScreen::Animate:
        setGraphMode(false);
        clearView();
        showAnimateDisplay(true);
        break;
    case ModeScreen::AnimateEnded: showAnimateDisplay(false); break;
    case ModeScreen::BallStarted: animateDisplay()->startBall(); break;
    }
}

void CVornscopeView::showStatus(const QString& text)
{
    Q_EMIT statusMessage(text);
}

void CVornscopeView::showNumeric(const SampleFrame& frame)
{
    CVornGroup* group = document_->group();
    if (!group)
        return;
    numeric_->show(*document_, frame, group->presentUnits(), showTimes,
                   width() - numericScroll_->sizeHint().width() -
                       (bar_ && bar_->isVisible() ? CDistortionBar::kWidth : 0));
    if (state_.distortionOn && distortionSensor > 0 && distortionSensor < VORN_UNIT_COUNT) {
        const int value = frame.sensors[static_cast<std::size_t>(distortionSensor)].distortion;
        distortionBar()->setValue(value);
        numeric_->showDistortionNumber(*document_, value, width() - CDistortionBar::kWidth, height());
    }
}

void CVornscopeView::animateStep(int id)
{
    if (state_.graphVisible && graph_) {
        switch (id) {
        case ID_SHIFT_RIGHT:
        case ID_SHIFT_RIGHT_TB: graph_->shiftRight(); break;
        case ID_SHIFT_LEFT:
        case ID_SHIFT_LEFT_TB: graph_->shiftLeft(); break;
        case ID_ZOOM_IN:
        case ID_ZOOM_IN_TB: graph_->zoomIn(); break;
        case ID_ZOOM_OUT:
        case ID_ZOOM_OUT_TB: graph_->zoomOut(); break;
        default: break;
        }
        return;
    }
    switch (id) {
    case ID_SHIFT_RIGHT:
    case ID_SHIFT_RIGHT_TB: shiftX += 40; break;
    case ID_SHIFT_LEFT:
    case ID_SHIFT_LEFT_TB: shiftX -= 40; break;
    case ID_SHIFT_UP:
    case ID_SHIFT_UP_TB: shiftY -= 35; break;
    case ID_SHIFT_DOWN:
    case ID_SHIFT_DOWN_TB: shiftY += 35; break;
    case ID_ZOOM_IN:
    case ID_ZOOM_IN_TB: zoom = zoomedIn(zoom); break;
    case ID_ZOOM_OUT:
    case ID_ZOOM_OUT_TB: zoom -= kZoomStep; break;
    default: return;
    }
    clearView();
}

void CVornscopeView::clearView()
{
    document_->clearTextItems();
    update();
}

void CVornscopeView::showStatusLine(const char* text)
{
    document_->addTextItem(CTextItem {text, kStatusX, kStatusY});
}

int CVornscopeView::pageOffset(const CTextItem& item) const
{
    return item.pinned ? 0 : numericScroll_->value();
}

QRect CVornscopeView::itemRect(const CTextItem& item) const
{
    const QFontMetrics metrics(font());
    const QString text = QString::fromStdString(item.text);
    return QRect(item.x, item.y - pageOffset(item), metrics.horizontalAdvance(text) + 1, metrics.height());
}

void CVornscopeView::placeNumericScroll()
{
    const int barWidth = numericScroll_->sizeHint().width();
    const int right = width() - (bar_ && bar_->isVisible() ? CDistortionBar::kWidth : 0);
    numericScroll_->setGeometry(right - barWidth, 0, barWidth, height());
}

void CVornscopeView::updateNumericScroll()
{
    const int hidden = pageBottom_ + kStatusY - height();
    numericScroll_->setVisible(hidden > 0);
    numericScroll_->setRange(0, std::max(hidden, 0));
    numericScroll_->setPageStep(height());
    numericScroll_->setSingleStep(QFontMetrics(font()).height());
    if (hidden > 0)
        numericScroll_->raise();
}

void CVornscopeView::repaintItem(const CTextItem& item, const std::optional<CTextItem>& old)
{
    if (!item.pinned && item.y + QFontMetrics(font()).height() > pageBottom_) {
        pageBottom_ = item.y + QFontMetrics(font()).height();
        updateNumericScroll();
    }
    QRect area = itemRect(item);
    if (old)
        area = area.united(itemRect(*old));
    update(area);
}

void CVornscopeView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    for (const CTextItem& item : document_->textItems().items()) {
        const QRect box = itemRect(item);
        painter.fillRect(box, colourFromWord(item.background));
        painter.setPen(colourFromWord(item.textColour));
        painter.drawText(item.x, box.y() + metrics.ascent(), QString::fromStdString(item.text));
    }
}

void CVornscopeView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        // The right button leaves every acquisition mode.
        modes_->leaveAll();
        Q_EMIT stateChanged();
    } else if (event->button() == Qt::LeftButton && state_.pointMode) {
        modes_->takePoint();
    }
    QWidget::mousePressEvent(event);
}

void CVornscopeView::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (state_.pointMode && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        modes_->takePoint();
        return;
    }
    if (state_.graphVisible && graph_) {
        graph_->forwardKey(event);
        return;
    }
    QWidget::keyPressEvent(event);
}

void CVornscopeView::wheelEvent(QWheelEvent* event)
{
    if (state_.graphVisible && graph_)
        graph_->forwardWheel(event);
    else if (numericScroll_->isVisible())
        QApplication::sendEvent(numericScroll_, event);
    else
        QWidget::wheelEvent(event);
}

void CVornscopeView::resizeEvent(QResizeEvent* event)
{
    if (bar_)
        bar_->followParent();
    placeNumericScroll();
    updateNumericScroll();
    if (animate_)
        animate_->setGeometry(rect());
    // The graph keeps its share of the client area as the window changes size.
    if (graph_)
        placeGraph();
    QWidget::resizeEvent(event);
}

void CVornscopeView::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CVornscopeView::dropEvent(QDropEvent* event)
{
    const auto urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.front().isLocalFile())
        openAndGraph(urls.front().toLocalFile());
    event->acceptProposedAction();
}

} // namespace vornscope
