#pragma once

#include <csignal>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

// Real file-system failures for the tests, made without root tricks or mocked devices.

// While it lives, no file of this process grows beyond `bytes`: a write past it fails with EFBIG as on a full
// disk (the signal that would end the process is ignored).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_active = getrlimit(RLIMIT_FSIZE, &m_old) == 0;
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{bytes, m_old.rlim_max};
        m_active = m_active && setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_active)
            setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool active() const { return m_active; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
    bool m_active = false;
};

// While it lives, file modes bind this process even when it runs as root: the capabilities that let root
// read and write any file are taken out of the effective set (and put back afterwards).
class FileModesBind
{
public:
    FileModesBind()
    {
        if (geteuid() != 0) {
            m_active = true;
            return;
        }
        if (syscall(SYS_capget, &m_header, m_old) != 0)
            return;
        __user_cap_data_struct reduced[2] = {m_old[0], m_old[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_changed = syscall(SYS_capset, &m_header, reduced) == 0;
        m_active = m_changed;
    }
    ~FileModesBind()
    {
        if (m_changed)
            syscall(SYS_capset, &m_header, m_old);
    }
    FileModesBind(const FileModesBind &) = delete;
    FileModesBind &operator=(const FileModesBind &) = delete;

    bool active() const { return m_active; }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_old[2]{};
    bool m_changed = false;
    bool m_active = false;
};
