#pragma once

// Tests run as root here, and root reads every file whatever its mode. For the scope of this
// object the process gives up that right (it keeps it in reserve to take it back), so that a
// file of mode 000 is as unreadable to it as to anyone.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

class NoAccessOverride {
  public:
    NoAccessOverride() { set(false); }
    ~NoAccessOverride() { set(true); }
    NoAccessOverride(const NoAccessOverride&) = delete;
    NoAccessOverride& operator=(const NoAccessOverride&) = delete;

  private:
    static void set(bool allowed) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2]{};
        if (::syscall(SYS_capget, &header, data) != 0)
            return;
        const unsigned bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
        data[0].effective =
            allowed ? (data[0].effective | (data[0].permitted & bits)) : (data[0].effective & ~bits);
        ::syscall(SYS_capset, &header, data);
    }
};
