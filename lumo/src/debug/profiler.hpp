#pragma once
// A hierarchical profiler of named sections inside a profiled loop. Main thread only.

#include <map>
#include <string>

namespace lumo {
namespace debug {

/// One section of the tree; times are milliseconds, -1 meaning "no value".
struct ProfileData {
    ProfileData* parent = nullptr;
    int snapshotCount = 0;  // capped at 1000, so the average becomes a running one
    float beginTicks = -1, endTicks = -1, minTicks = -1, maxTicks = -1, avgTicks = -1,
          lastTicks = -1;
    std::map<std::string, ProfileData> subSections;

    /// The child `name`, created with this node as parent when missing.
    ProfileData& add(const std::string& name);
    /// Takes the measurement endTicks - beginTicks into last, min, max and average.
    void update();
    /// Clears begin, end and last times of the subtree.
    void clearCurrent();
    /// Clears the statistics (avg, max, min, last) of the subtree.
    void clearStats();
    /// Prints the subtree as indented "[profiling] ..." lines; unmeasured sections are skipped.
    void print(const std::string& name) const;
};

extern ProfileData profileRoot;
extern ProfileData* profileCurrent;
extern bool profiling;

/// Resets the profiler to idle with the root current.
void init();
void beginProfileLoop();
void beginProfileSection(const std::string& name);
void endProfileSection();
/// Closes the loop; warns when a section was left open and `incomplete` is false.
void endProfileLoop(bool incomplete = false);
void printProfileStats();
void clearProfileStats();

}  // namespace debug
}  // namespace lumo
