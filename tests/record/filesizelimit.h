// A full disk for the recording tests, made with the file size limit.
#pragma once

#include <sys/resource.h>

// Files of this process may grow to `bytes` while it lives. With SIGXFSZ ignored, a write past
// the limit fails with EFBIG as a full disk fails with ENOSPC.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_before);
        rlimit limit = m_before;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_before); }

private:
    rlimit m_before{};
};
