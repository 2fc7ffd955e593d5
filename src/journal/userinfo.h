#pragma once

#include <cstdint>
#include <string>

// The user profile, section "[userInfo]" of the journal file.
struct UserInfo {
    // Code-page-932 bytes; empty means the profile was never set.
    std::string name;
    // Held as three numbers, not as a date: 31 February can be chosen and stored.
    int birthYear = 1980;
    int birthMonth = 1;
    int birthDay = 1;
    bool sex = true;   // true for male
    double height = 0; // cm
    std::int32_t restBpm = 60;

    bool operator==(const UserInfo &) const = default;
};
