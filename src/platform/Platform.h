#pragma once

#include "platform/Clock.h"
#include "platform/Printer.h"
#include "platform/ProcessLauncher.h"
#include "platform/Prompter.h"
#include "platform/SoundPlayer.h"

namespace horalog
{

// The services that stand in for the operating system; main() passes the real ones, tests the fakes.
struct Platform {
    Prompter& prompter;
    Clock& clock;
    SoundPlayer& sound;
    ProcessLauncher& process;
    Printer& printer;
};

} // namespace horalog
