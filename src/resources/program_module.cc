// The string table, and the program module that holds every resource.
#include "resources/resources.h"

namespace quorval {

namespace {

constexpr StringResource kStrings[] = {
    {kClassRegistrationFailedString, "Error registering window class"},
    {kWindowCreationFailedString, "Window creation failed!"},
};

constexpr const MenuResource* kMenus[] = {&kMainMenu};
constexpr const DialogTemplate* kDialogs[] = {&kProgressTemplate};

}  // namespace

const ResourceModule kProgramResources = {
    kMenus,   sizeof kMenus / sizeof kMenus[0],     kDialogs,
    sizeof kDialogs / sizeof kDialogs[0], kStrings, sizeof kStrings / sizeof kStrings[0],
};

}  // namespace quorval
