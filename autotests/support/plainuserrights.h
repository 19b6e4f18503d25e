#pragma once

// While it lives, a test run as root is held to file modes as any user is: it gives
// up its rights to pass over them (CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH in its
// effective set) and takes them back at the end. For any other user it does nothing.
class PlainUserRights
{
public:
    PlainUserRights();
    ~PlainUserRights();
    PlainUserRights(const PlainUserRights &) = delete;
    PlainUserRights &operator=(const PlainUserRights &) = delete;

private:
    bool m_dropped = false;
};
