#include "session/userprofile.h"

namespace {

const QString organisationName = QStringLiteral("Ornavel");
const QString profileName = QStringLiteral("Zephalonte");
const QString settingsGroup = QStringLiteral("Settings");
const QString nUserKey = QStringLiteral("nUser");
const QString crntUserNumKey = QStringLiteral("crntUserNum");
constexpr int defaultUserNumber = 1;

} // namespace

std::unique_ptr<QSettings> openUserProfile()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, organisationName,
                                       profileName);
}

ProfileUsers readProfileUsers(QSettings &profile)
{
    ProfileUsers users;
    profile.beginGroup(settingsGroup);
    users.nUser = profile.value(nUserKey, defaultUserNumber).toInt();
    users.crntUserNum = profile.value(crntUserNumKey, defaultUserNumber).toInt();
    profile.endGroup();
    return users;
}
