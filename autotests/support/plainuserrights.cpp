#include "plainuserrights.h"

#include <QtGlobal>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

bool setFileModeOverride(bool on)
{
    __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
    __user_cap_data_struct data[2] {};
    if (syscall(SYS_capget, &header, data) != 0) {
        return false;
    }
    const quint32 bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    if (on) {
        data[0].effective |= data[0].permitted & bits;
    } else {
        data[0].effective &= ~bits;
    }
    return syscall(SYS_capset, &header, data) == 0;
}

} // namespace

PlainUserRights::PlainUserRights()
    : m_dropped(geteuid() == 0 && setFileModeOverride(false))
{ }

PlainUserRights::~PlainUserRights()
{
    if (m_dropped) {
        setFileModeOverride(true);
    }
}
