// Open and graph takes vornctl's recordings beside Vornscope's data files.
#include "core/data_file_reader.h"

#include <gtest/gtest.h>

namespace vornscope {
namespace {

TEST(RecordingFile, RecordAndStreamFilesGraphWithUnitsAsSensors)
{
    GraphData graph;
    const std::string record = "# vorn_record: 1 (vornctl record)\n"
                               "# frame_period_s: 0.009681\n"
                               "time_s,host_unix_s,unit,x_in,y_in,z_in,azimuth_deg,elevation_deg,roll_deg\n"
                               "10.000,1796649621.432,0,19.148,1.472,5.999,127.907,6.087,0.000\n"
                               "10.010,1796649621.442,0,19.126,1.490,6.016,128.522,6.262,0.000\n";
    ASSERT_EQ(readDataFile(record, graph), ReadOutcome::Complete);
    ASSERT_EQ(graph.sensorCount(), 1); // a stand-alone unit (address 0) is sensor 1
    ASSERT_EQ(graph.count(), 2u);
    EXPECT_DOUBLE_EQ(graph.time(1), 10.01);
    EXPECT_DOUBLE_EQ(graph.value(1, 1, 0, 1), 1.490);
    EXPECT_DOUBLE_EQ(graph.value(0, 1, 1, 0), 127.907);
    EXPECT_EQ(graph.sensor(0, 1).content, content::kPosition | content::kAngles | content::kTime);

    // A stream file of units 2 and 5 with matrices: sensors 1 and 2, in address order.
    const std::string stream = "time_s,unit,m11,m12,m13,m21,m22,m23,m31,m32,m33\n"
                               "1.000,2,1,0,0,0,1,0,0,0,1\n1.000,5,0,1,0,-1,0,0,0,0,1\n";
    ASSERT_EQ(readDataFile(stream, graph), ReadOutcome::Complete);
    ASSERT_EQ(graph.sensorCount(), 2);
    ASSERT_EQ(graph.count(), 1u);
    EXPECT_DOUBLE_EQ(graph.sensor(0, 2).matrix[3], -1.0);

    // JSON lines too, and a recording stopped before its first frame is an empty graph, not an error.
    ASSERT_EQ(readDataFile("{\"time_s\":2.5,\"units\":[{\"unit\":1,\"quaternion\":[1,0,0,0]}]}\n", graph),
              ReadOutcome::Complete);
    EXPECT_EQ(graph.sensor(0, 1).content, content::kQuaternion | content::kTime);
    ASSERT_EQ(readDataFile("# vorn_record: 1 (vornctl record)\ntime_s,host_unix_s,unit,x_in,y_in,z_in\n", graph),
              ReadOutcome::Complete);
    EXPECT_TRUE(graph.empty());

    // Cut in the middle of a row: the whole frames before it.
    ASSERT_EQ(readDataFile(record + "10.020,1796649621.452,0,19.1", graph), ReadOutcome::Complete);
    EXPECT_EQ(graph.count(), 2u);
    // Vornscope's own files still read as before.
    ASSERT_EQ(readDataFile("1pos:1.0000  2.0000  3.0000\n0end-frame:\n", graph), ReadOutcome::Complete);
    EXPECT_EQ(graph.count(), 1u);
    EXPECT_EQ(readDataFile("# not a recording\nhello\n", graph), ReadOutcome::Unrecognised);
}

} // namespace
} // namespace vornscope
