// CVornscopeView: the view of one document. It keeps the application state,
// draws the document's text lines and routes each command to the class that
// carries it out (setup, options, the acquisition modes, the displays); it
// does no unit work itself. To the acquisition modes it is only an
// AcquisitionHost.
#pragma once

#include "acquisition/acquisition_modes.h"
#include "core/data_file_writer.h"
#include "core/named_mutex.h"
#include "core/setup_values.h"
#include "core/text_items.h"
#include "core/view_state.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QPrinter;
class QScrollBar;

namespace vornscope {

class AcquisitionHub;
class CAnimateDisplay;
class CDistortionBar;
class CGraphWindow;
class CVornscopeDoc;
class NumericDisplay;

class CVornscopeView : public QWidget, private AcquisitionHost {
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

    // Acquisition: the modes and the thread of stream and animate mode.
    AcquisitionModes& modes() { return *modes_; }
    AcquisitionHub& acquisition() { return modes_->hub(); }

    // Displays, created on first use.
    CGraphWindow* graphWindow();
    CAnimateDisplay* animateDisplay();
    CDistortionBar* distortionBar();
    void setGraphMode(bool on, double heightShare = 0.85);
    void showAnimateDisplay(bool on);
    void showDistortion(bool on);
    // Prints the graph of the selected sensor.
    void printGraph(QPrinter& printer);

    // The target file of stream and point data.
    DataFileWriter& targetFile() { return targetFile_; }
    std::string saveTarget = "no target file";

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
    // A data file was read without error (for the recent-file list).
    void fileOpened(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
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
    void stream(int);
    void point(int);
    void animate(int);
    void ball(int);
    void graph(int);
    void distortion(int);
    void saveDataOptions(int);
    void saveData(int);
    void fileSave(int);
    void graphOptions(int);
    void print(int id);
    void resetView(int);
    void animateStep(int id);
    void changeRate(double delta);
    void showNumeric(const SampleFrame& frame);

    // AcquisitionHost
    ModeSettings modeSettings() const override;
    void setSamplesPerPoint(int samples) override;
    void takePoints(const std::vector<SampleFrame>& points, std::size_t count) override;
    void showModeScreen(ModeScreen screen) override;
    void showStatus(const QString& text) override;
    void unitsLost(const QString& reason) override;
    // Shut Down's work without its refusal: the modes end, the group goes.
    void endSession();

    // The numeric display's page: its scroll bar follows the lines' extent.
    void placeNumericScroll();
    void updateNumericScroll();
    int pageOffset(const CTextItem& item) const;
    // The graph window at the top left: the client width less 20, its height share.
    void placeGraph();
    void repaintItem(const CTextItem& item, const std::optional<CTextItem>& old);
    QRect itemRect(const CTextItem& item) const;

    CVornscopeDoc* document_;
    ViewState state_;
    std::string mutexName_;
    NamedMutex mutex_;
    std::unique_ptr<AcquisitionModes> modes_;
    std::unique_ptr<NumericDisplay> numeric_;
    CGraphWindow* graph_ = nullptr;
    double graphHeightShare_ = 0.85;
    QScrollBar* numericScroll_;
    int pageBottom_ = 0; // below the lowest line of the numeric display
    CAnimateDisplay* animate_ = nullptr;
    CDistortionBar* bar_ = nullptr;
    DataFileWriter targetFile_;
};

} // namespace vornscope
