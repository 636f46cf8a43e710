// Start, workers and the end of the program.
#pragma once

#include <functional>

namespace tavlo {

// The process entry: creates the state and the main window, runs the message loop.
int program_start(int argc, char** argv);
// Ends the program with `code`. On a worker the request is handed to the UI thread.
void exit_program(int code);
// Starts `job` on a new worker thread and records it in worker_thread. Workers are never
// joined: at exit they end with the process.
void start_worker(std::function<void()> job);

}  // namespace tavlo
