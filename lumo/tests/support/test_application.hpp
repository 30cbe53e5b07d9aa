#pragma once
// The one application object of a test program.

#include <new>

#include "framework/application.hpp"

namespace lumo {
namespace testing {

class TestApplication : public Application {};

/// The application's destructor ends the process, so tests keep it in static storage and never
/// destroy it. Makes it the current `lumo::application` again on every call.
inline TestApplication& testApplication() {
    alignas(TestApplication) static unsigned char storage[sizeof(TestApplication)];
    static TestApplication* app = new (storage) TestApplication;
    application = app;
    return *app;
}

}  // namespace testing
}  // namespace lumo
