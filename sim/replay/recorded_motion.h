// Motion read from a recording: frames of sensors with whatever fields the
// file had, and how each sensor's track is made from them, missing fields
// derived (orientation from the matrix, else the quaternion, else the angles).
#pragma once

#include "model/pose.h"
#include "model/replay_track.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vorn::sim {

struct RecordedSensor {
    std::optional<Vector3> position; // inches
    std::optional<Angles> angles;    // degrees
    std::optional<Matrix3> matrix;
    std::optional<Quaternion> quaternion;
};

struct RecordedFrame {
    std::optional<double> timeS;
    std::map<int, RecordedSensor> sensors; // by unit address (sensor number for a Vornscope file)
};

struct RecordedMotion {
    std::string kind;                   // what the file was, in words
    std::optional<double> framePeriodS; // as the file's header says
    std::vector<RecordedFrame> frames;
    std::string stoppedEarly; // why reading stopped before the end, if it did
    bool headerRead = false;  // the file's header or column names were read
};

// The time between frames: the header's, else the time stamps' average, else
// the units' default measurement period.
double framePeriodOf(const RecordedMotion& motion);

// Sensors that appear in the file, ascending.
std::vector<int> sensorsOf(const RecordedMotion& motion);

// One sensor's poses, one per frame; a frame without the sensor repeats its
// pose before (or, before its first appearance, its first pose).
ReplayTrack trackOf(const RecordedMotion& motion, int sensor, bool loop);

} // namespace vorn::sim
