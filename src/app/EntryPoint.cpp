// The program's entry point. The whole run is wrapped: a fatal error is written to the
// debug log and to standard error with the file and line it came from, and the program
// ends with status 1 after a best-effort shutdown; closing the window or SIGTERM ends it
// with status 0 after an orderly one.
#include "app/Application.h"
#include "core/ThrowError.h"
#include "platform/sys/Process.h"

int main(int argc, char** argv) {
    sys::KeepFreedMemoryForReuse();
    LaunchSettings settings;
    settings.commandLine = ParseCommandLine(argc, argv);
    return RunProtected([&] {
        Application application(settings);
        return application.Run();
    });
}
