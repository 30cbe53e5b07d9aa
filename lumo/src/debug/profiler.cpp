#include "debug/profiler.hpp"

#include <SDL.h>

#include <cstdio>

#include "debug/message_stack.hpp"

namespace lumo {
namespace debug {

ProfileData profileRoot;
ProfileData* profileCurrent = &profileRoot;
bool profiling = false;

namespace {
float now() {
    return static_cast<float>(SDL_GetTicks());
}
}  // namespace

ProfileData& ProfileData::add(const std::string& name) {
    ProfileData& child = subSections[name];
    child.parent = this;
    return child;
}

void ProfileData::update() {
    MessageScope scope("ProfileData::update()");
    if (snapshotCount <= 999)
        ++snapshotCount;
    lastTicks = endTicks - beginTicks;
    if (minTicks > lastTicks || minTicks < 0)
        minTicks = lastTicks;
    if (lastTicks > maxTicks || maxTicks < 0)
        maxTicks = lastTicks;
    avgTicks = ((snapshotCount - 1) * avgTicks + lastTicks) / snapshotCount;
}

void ProfileData::clearCurrent() {
    beginTicks = endTicks = lastTicks = -1;
    for (auto& s : subSections)
        s.second.clearCurrent();
}

void ProfileData::clearStats() {
    avgTicks = maxTicks = minTicks = lastTicks = -1;
    for (auto& s : subSections)
        s.second.clearStats();
}

void ProfileData::print(const std::string& name) const {
    MessageScope scope("ProfileData::print()");
    if (lastTicks < 0)
        return;
    float share = parent ? lastTicks / parent->lastTicks * 100.0f : 100.0f;
    std::printf("[profiling] %s (current: %dms/%.2f%%; min: %dms; max: %dms; avg: %dms)\n",
                name.c_str(), static_cast<int>(lastTicks), share, static_cast<int>(minTicks),
                static_cast<int>(maxTicks), static_cast<int>(avgTicks));
    std::string indent = "  ";
    for (char c : name) {
        if (c != ' ')
            break;
        indent += ' ';
    }
    for (const auto& s : subSections)
        s.second.print(indent + s.first);
}

void init() {
    profiling = false;
    profileCurrent = &profileRoot;
}

void beginProfileLoop() {
    MessageScope scope("beginProfileLoop()");
    profiling = true;
    profileRoot.clearCurrent();
    profileRoot.beginTicks += now();
    profileCurrent = &profileRoot;
}

void beginProfileSection(const std::string& name) {
    MessageScope scope("beginProfileSection()");
    if (!profiling)
        return;
    profileCurrent = &profileCurrent->add(name);
    profileCurrent->beginTicks = now();
}

void endProfileSection() {
    MessageScope scope("endProfileSection()");
    if (!profiling)
        return;
    profileCurrent->endTicks = now();
    profileCurrent->update();
    if (profileCurrent->parent)
        profileCurrent = profileCurrent->parent;
}

void endProfileLoop(bool incomplete) {
    MessageScope scope("endProfileLoop()");
    profileRoot.endTicks += now();
    profileRoot.update();
    if (!incomplete && profileCurrent != &profileRoot) {
        std::printf("[profiling] (warning) Profile recursion incomplete.\n");
        std::fflush(stdout);
    }
    profileCurrent = &profileRoot;
    profiling = false;
}

void printProfileStats() {
    MessageScope scope("printProfileStats()");
    std::printf("[profiling]\n[profiling] Printing profiling information:\n");
    profileRoot.print("root");
    std::fflush(stdout);
}

void clearProfileStats() {
    MessageScope scope("clearProfileStats()");
    if (profiling)
        profileRoot.clearStats();
}

}  // namespace debug
}  // namespace lumo
