#include "document/vornscope_view.h"

#include "core/command_ids.h"
#include "core/vorn_group.h"
#include "document/vornscope_doc.h"
#include "options/sensor_options_command.h"
#include "options/system_options_command.h"
#include "setup/setup_command.h"
#include "shell/message_boxes.h"

#include <vorn/vorn.h>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

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
    static std::atomic<int> counter{1};
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
    {ID_STREAM, &CVornscopeView::needsUnits},
    {ID_STREAM_TB, &CVornscopeView::needsUnits},
    {ID_POINT, &CVornscopeView::needsUnits},
    {ID_POINT_TB, &CVornscopeView::needsUnits},
    {ID_ANIMATE, &CVornscopeView::needsUnits},
    {ID_ANIMATE_TB, &CVornscopeView::needsUnits},
    {ID_GRAPH, &CVornscopeView::notBuiltYet},
    {ID_GRAPH_TB, &CVornscopeView::notBuiltYet},
    {ID_BALL, &CVornscopeView::notBuiltYet},
    {ID_BALL_TB, &CVornscopeView::notBuiltYet},
    {ID_DISTORTION, &CVornscopeView::notBuiltYet},
    {ID_DISTORTION_TB, &CVornscopeView::notBuiltYet},
    {ID_SAVE_DATA_OPTIONS, &CVornscopeView::notBuiltYet},
    {ID_SAVE_DATA, &CVornscopeView::notBuiltYet},
    {ID_GRAPH_OPTIONS, &CVornscopeView::notBuiltYet},
    {ID_FILE_SAVE, &CVornscopeView::notBuiltYet},
    {ID_FILE_SAVE_AS, &CVornscopeView::notBuiltYet},
    {ID_FILE_PRINT, &CVornscopeView::notBuiltYet},
    {ID_FILE_PRINT_PREVIEW, &CVornscopeView::notBuiltYet},
    {ID_RESET_VIEW, &CVornscopeView::notBuiltYet},
    {ID_RESET_VIEW_TB, &CVornscopeView::notBuiltYet},
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
    : QWidget(parent),
      document_(document),
      mutexName_(viewMutexName(nextViewHandle())),
      mutex_(openNamedMutex(mutexName_))
{
    setAcceptDrops(true);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 120);
    connect(document_, &CVornscopeDoc::textItemChanged, this, &CVornscopeView::repaintItem);
    connect(document_, &CVornscopeDoc::textItemsCleared, this, qOverload<>(&CVornscopeView::update));
}

CVornscopeView::~CVornscopeView()
{
    if (state_.setUp)
        vornShutDown(document_->groupId());
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

void CVornscopeView::setupRs232(int) { SetupCommand(*this).run(Transport::RS232); }
void CVornscopeView::setupIsa(int) { SetupCommand(*this).run(Transport::ISA); }
void CVornscopeView::setupTcpip(int) { SetupCommand(*this).run(Transport::TCPIP); }
void CVornscopeView::sensorOptions(int) { SensorOptionsCommand(*this).run(); }
void CVornscopeView::systemOptions(int) { SystemOptionsCommand(*this).run(); }

void CVornscopeView::shutDown(int)
{
    if (!state_.setUp) {
        refuseNotSetUp();
        return;
    }
    state_.clearAcquisitionModes();
    clearView();
    vornShutDown(document_->groupId());
    state_.setUp = false;
}

void CVornscopeView::needsUnits(int id)
{
    if (!state_.setUp) {
        refuseNotSetUp();
        return;
    }
    notBuiltYet(id);
}

void CVornscopeView::notBuiltYet(int)
{
    Q_EMIT statusMessage(tr("This command is not available in this build yet."));
}

void CVornscopeView::animateStep(int id)
{
    if (state_.graphVisible) {
        notBuiltYet(id);
        return;
    }
    switch (id) {
    case ID_SHIFT_RIGHT: case ID_SHIFT_RIGHT_TB: shiftX += 40; break;
    case ID_SHIFT_LEFT: case ID_SHIFT_LEFT_TB: shiftX -= 40; break;
    case ID_SHIFT_UP: case ID_SHIFT_UP_TB: shiftY -= 35; break;
    case ID_SHIFT_DOWN: case ID_SHIFT_DOWN_TB: shiftY += 35; break;
    case ID_ZOOM_IN: case ID_ZOOM_IN_TB: zoom += 0.25; break;
    case ID_ZOOM_OUT: case ID_ZOOM_OUT_TB: zoom -= 0.25; break;
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
    document_->addTextItem(CTextItem{text, kStatusX, kStatusY});
}

void CVornscopeView::openAndGraph(const QString& path)
{
    Q_EMIT statusMessage(tr("Reading data files is not available in this build yet: %1").arg(path));
}

QRect CVornscopeView::itemRect(const CTextItem& item) const
{
    const QFontMetrics metrics(font());
    const QString text = QString::fromStdString(item.text);
    return QRect(item.x, item.y, metrics.horizontalAdvance(text) + 1, metrics.height());
}

void CVornscopeView::repaintItem(const CTextItem& item, const std::optional<CTextItem>& old)
{
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
        painter.drawText(item.x, item.y + metrics.ascent(), QString::fromStdString(item.text));
    }
}

void CVornscopeView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        // The right button leaves every acquisition mode.
        state_.clearAcquisitionModes();
        Q_EMIT stateChanged();
    }
    QWidget::mousePressEvent(event);
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
