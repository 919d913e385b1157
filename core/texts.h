// What the table says to the player, in the client's words: the lines of
// its info box (without the "\r\n" each begins with there), the prompts it
// paints, the bid labels and the result texts. The web table is generated
// from this list (tools/webgen), so that both tables say the same.
// Formats take their numbers in order, as printf's %d.
#pragma once

namespace lerva::texts {

inline constexpr const char* kConnected = "Ühendus serveriga loodud";
inline constexpr const char* kWaitingForOthers = "Ootan teisi mängijaid...";
inline constexpr const char* kGameStarted = "Mäng algas";
inline constexpr const char* kBiddingStarted = "Pakkumine algas";
inline constexpr const char* kChooseTrump = "Tee trump";
inline constexpr const char* kYouPassed = "Passisid";
inline constexpr const char* kYouBid = "Pakkusid %d";
inline constexpr const char* kYouBidDiamonds = "Tegid ruutu trumbiks";
inline constexpr const char* kBidHigher = "Pead rohkem pakkuma või passima";
inline constexpr const char* kCardRefused = "Sa ei saa seda kaarti käia";
// By suit 2..4; diamonds are always allowed.
inline constexpr const char* kTrumpRefused[5] = {nullptr, nullptr, "Sa ei saa artut trumbiks teha",
                                                "Sa ei saa potit trumbiks teha", "Sa ei saa ristit trumbiks teha"};
inline constexpr const char* kConnectionLost = "Ühendus serveriga katkes";
inline constexpr const char* kGameBroken = "Mäng katkestatud";

inline constexpr const char* kYourBid = "Sinu kord pakkuda";
inline constexpr const char* kYourPlay = "Sinu kord käia";
inline constexpr const char* kTrumpLabel = "Trump:";
inline constexpr const char* kPassedLabel = "Passis";
inline constexpr const char* kBidLabel = "pakkus %d";
inline constexpr const char* kDiamondsBidLabel = "pakkus Ruutu";

inline constexpr const char* kConnect = "Ühenda";
inline constexpr const char* kDisconnect = "Katkesta";
inline constexpr const char* kResultsCaption = "Tulemused";
inline constexpr const char* kDealWon = "Teie võitsite selle mängu tulemusega %d/%d";
inline constexpr const char* kDealLost = "Teie kaotasite selle mängu tulemusega %d/%d";
inline constexpr const char* kGameScore = "Praegune mängupunktide seis on %d/%d\n(See tiim, mis vähemalt 12 punkti saab võidab)";
inline constexpr const char* kGameWon = "Teie võitsite terve mängu tulemusega %d/%d";
inline constexpr const char* kGameLost = "Teie kaotasite terve mängu tulemusega %d/%d";

// Button labels: the bid row (pass, 1..9, the top bid) and the trump
// buttons by suit 1..4.
inline constexpr const char* kPassButton = "Pass";
inline constexpr const char* kTopBidButton = "Ruutu";
inline constexpr const char* kSuitNames[5] = {nullptr, "Ruutu", "Ärtu", "Poti", "Risti"};

}  // namespace lerva::texts
