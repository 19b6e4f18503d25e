#pragma once

#include <QtGlobal>

#include <sys/wait.h>
#include <unistd.h>

// The number of a process that has ended, as a lock file left behind would name it.
inline qint64 deadProcess()
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}
