// documents/ExeTestOptions.h -- the settings a test carries: saving, level, time, profiles
#pragma once

#include "documents/ViewProfiles.h"
#include "model/MarkProfiles.h"
#include "xml/XpNode.h"

#include <memory>
#include <string>

namespace stellik {

class TMemoryStream;

class TExeTestOptions {
public:
    TExeTestOptions(); // the defaults of Reset
    ~TExeTestOptions();
    TExeTestOptions(const TExeTestOptions&) = delete;
    TExeTestOptions& operator=(const TExeTestOptions&) = delete;

    // No saving, no folder or key, level -1, no time limit, a default view profile and no
    // mark profile.
    void Reset();
    // Reads an "sk-settings" document from the stream's position and replaces every setting.
    // A stream that does not parse, or a root of another name, raises "XML файл не является
    // файлом настроек" and leaves every setting as it was. An exception of the view- or
    // mark-profile reader passes on after the keys have been read, with no mark profile.
    void LoadFromStream(TMemoryStream& stream);
    // The five value keys under root; an unreadable level or time falls back to -1 or 0.
    void ReadKeys(TXpNode root);

    bool GetSaveResults() const { return SaveResults; }
    const std::string& GetResultsPath() const { return ResultsPath; } // empty: ask the user
    int GetRatingLevel() const { return RatingLevel; }
    int GetTestTime() const { return TestTime; }                             // minutes; 0: no limit
    const std::string& GetEncryptKey() const { return EncryptKey; }          // base64; empty: plain
    const TViewProfile& GetViewProfile() const { return *ViewProfile; }      // never absent
    const TMarkProfile* GetMarkProfile() const { return MarkProfile.get(); } // null: none

    // Hands the mark profile (or null) over to the caller, who keeps it from now on; the
    // options forget it.
    std::unique_ptr<TMarkProfile> ReleaseMarkProfile() { return std::move(MarkProfile); }

private:
    bool SaveResults = false;
    std::string ResultsPath;
    int RatingLevel = -1;
    int TestTime = 0;
    std::string EncryptKey;
    std::unique_ptr<TViewProfile> ViewProfile;
    std::unique_ptr<TMarkProfile> MarkProfile;
};

} // namespace stellik
