// CVornscopeView: the view of one document. It keeps the application state,
// draws the document's text lines and routes each command to the class that
// carries it out (setup, options, and later the acquisition modes and
// displays); it does no unit work itself.
#pragma once

#include "core/named_mutex.h"
#include "core/setup_values.h"
#include "core/text_items.h"
#include "core/view_state.h"

#include <QWidget>

#include <string>

namespace vornscope {

class CVornscopeDoc;

class CVornscopeView : public QWidget {
    Q_OBJECT
public:
    explicit CVornscopeView(CVornscopeDoc* document, QWidget* parent = nullptr);
    ~CVornscopeView() override;

    CVornscopeDoc* document() const { return document_; }
    ViewState& state() { return state_; }
    const ViewState& state() const { return state_; }
    NamedMutex mutex() const { return mutex_; }
    const std::string& mutexName() const { return mutexName_; }

    // Runs a command of the command table; false for ids the view does not handle.
    bool onCommand(int id);

    // Removes all text lines and paints the client area white.
    void clearView();
    void showStatusLine(const char* text);
    // Opens a data file into the graph (menu, recent files, dropped files).
    void openAndGraph(const QString& path);

    // Settings other commands share.
    std::string serverAddress = kDefaultServerAddress;
    int distortionSensor = 0;
    bool showTimes = false;
    double zoom = 1.0;
    int shiftX = 0;
    int shiftY = 0;

    // Tells the frame to re-evaluate the command rules.
    void notifyStateChanged() { Q_EMIT stateChanged(); }

Q_SIGNALS:
    void stateChanged();
    void statusMessage(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Route {
        int id;
        void (CVornscopeView::*handler)(int id);
    };
    static const Route kRoutes[];

    void setupRs232(int);
    void setupIsa(int);
    void setupTcpip(int);
    void shutDown(int);
    void sensorOptions(int);
    void systemOptions(int);
    void needsUnits(int id);
    void notBuiltYet(int id);
    void animateStep(int id);

    void repaintItem(const CTextItem& item, const std::optional<CTextItem>& old);
    QRect itemRect(const CTextItem& item) const;

    CVornscopeDoc* document_;
    ViewState state_;
    std::string mutexName_;
    NamedMutex mutex_;
};

} // namespace vornscope
