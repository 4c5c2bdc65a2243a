#include "documents/UserSettings.h"

#include "platform/IniFile.h"
#include "platform/MemoryStream.h"

namespace stellik {

namespace {
const std::string Section = "USER_INFO";
}

void TUserSettings::Save(TIniFile& ini) const {
    if (!SaveInfo) {
        return;
    }
    ini.WriteString(Section, "FirstName", FirstName);
    ini.WriteString(Section, "LastName", LastName);
    ini.WriteString(Section, "Patronymic", Patronymic);
    const TMemoryStream stream(AddInfo);
    ini.WriteBinaryStream(Section, "AddInfo", stream);
}

void TUserSettings::Load(TIniFile& ini) {
    FirstName = ini.ReadString(Section, "FirstName", "");
    LastName = ini.ReadString(Section, "LastName", "");
    Patronymic = ini.ReadString(Section, "Patronymic", "");
    TMemoryStream stream;
    ini.ReadBinaryStream(Section, "AddInfo", stream);
    AddInfo.assign(stream.View());
}

} // namespace stellik
