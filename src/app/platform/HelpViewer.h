#pragma once

namespace torumin {

// The program's help: contents, index, and one page per topic number (the
// numbers the windows' help buttons are known by).
class HelpViewer {
public:
    HelpViewer() = default;
    virtual ~HelpViewer() = default;
    HelpViewer(const HelpViewer &) = delete;
    HelpViewer &operator=(const HelpViewer &) = delete;

    virtual void showContents() = 0;
    virtual void showIndex() = 0;
    virtual void showTopic(int topic) = 0;
};

// Topic numbers.
namespace HelpTopic {
inline constexpr int CandidateWindow = 39;
inline constexpr int HistoryWindow = 44;
inline constexpr int SettingsEnvironmentTab = 10025;
inline constexpr int SettingsInitialTab = 10026;
inline constexpr int SettingsSearchTab = 10027;
inline constexpr int SettingsListTab = 10028;
inline constexpr int CodeSearchDialog = 10030;
inline constexpr int AddressSearchDialog = 10031;
inline constexpr int KanaSearchDialog = 10032;
inline constexpr int AddressInputDialog = 10033;
inline constexpr int OfficeNameDialog = 10034;
} // namespace HelpTopic

} // namespace torumin
