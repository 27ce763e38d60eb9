// The data-file commands of a view: Save Data Options, Save Data, the graph
// save, and Open and graph.
#pragma once

#include <QString>

namespace vornscope {

class CVornscopeView;

class DataFileCommands {
public:
    explicit DataFileCommands(CVornscopeView& view) : view_(view) {}

    void saveDataOptions();
    void saveData();
    void saveGraph();
    // Reads a data file into the graph (asks for one when `path` is empty);
    // true when it read without error.
    bool openAndGraph(QString path);

private:
    bool openTarget(const QString& path);

    CVornscopeView& view_;
};

} // namespace vornscope
