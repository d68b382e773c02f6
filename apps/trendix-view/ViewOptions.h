#pragma once
#include <string>
#include <vector>

// The command line of trendix-view:
//   trendix-view [FILE] [--demo] [--demo-vars N] [--demo-rate STEPS_PER_S] [--event-log FILE]
//                [--quit-after MS] [--size WxH] [--stats] [--shell] [--toolbar]
struct ViewOptions {
    std::string file;  // a plot to open: .ply, .plx, .tset or .tsh
    bool demo = false; // feed the simulated process into a run plot
    int demoVariables = 6;
    double demoRate = 10;          // time steps per second
    std::string eventLog;          // one line per event: "Name arg1 arg2 ..."
    int quitAfterMs = 0;           // 0: run until the user quits
    int width = 640, height = 480; // of the control's client area at the start
    bool stats = false;            // print the live-update figures at the end
    bool shell = false;            // read automation-shell commands from standard input
    bool toolbar = false;          // show the drawing toolbar from the start

    static constexpr int kMaxDemoVariables = 64;
    static constexpr double kMaxDemoRate = 100000;

    // Reads the arguments after the program name; error says what is wrong, empty when none.
    static ViewOptions Parse(const std::vector<std::string>& args, std::string& error);
    static const char* Usage();
};
