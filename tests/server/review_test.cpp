// The review back end on a folder of records: what it lists, which paths it
// answers, and an analysis made once in the background, then read back.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "deal_analysis.h"
#include "recorded_games.h"
#include "review_service.h"
#include "stored_analysis.h"

namespace lerva::review {
namespace {

class ReviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::path(::testing::TempDir()) / ("review-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "pages");
        std::ofstream(dir_ / "pages" / "index.html") << "<p>list</p>";
        std::ofstream(dir_ / "pages" / "game.html") << "<p>game</p>";
        std::ofstream(dir_ / "pages" / "review.js") << "export {};";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    ReviewOptions options() const { return {dir_, pageFilesIn(dir_ / "pages"), 1}; }

    // Asks until the analysis is done; the answers before it say how far it got.
    static Response analysisWhenDone(ReviewService& service, const std::string& id) {
        for (int i = 0; i < 3000; ++i) {
            Response response = service.handle("/review/api/games/" + id + "/analysis");
            if (response.status != 202) return response;
            const auto progress = nlohmann::json::parse(response.body);
            EXPECT_LE(progress["done"], progress["total"]);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {};
    }

    std::filesystem::path dir_;
};

const char* kOld = "game-20261201-100000-t9";
const char* kNew = "game-20261202-090000-t1";
const char* kNewer = "game-20261202-090000-t12";

TEST_F(ReviewTest, ListsTheFinishedValidRecordsNewestFirstAndAnswersOnlyTheirIds) {
    const std::string record = testing::abandonedAfterFirstDeal(testing::recordedGame(4));
    write(std::string(kOld) + ".jsonl", record);
    write(std::string(kNew) + ".jsonl", record);
    write(std::string(kNewer) + ".jsonl", record);
    write("game-20261203-090000-t2.jsonl", record.substr(0, record.size() - 10));   // still being written
    write("notes.jsonl", record);
    ReviewService service(options());

    const auto games = nlohmann::json::parse(service.handle("/review/api/games").body)["games"];
    ASSERT_EQ(games.size(), 3u);
    EXPECT_EQ(games[0]["id"], kNewer);
    EXPECT_EQ(games[1]["id"], kNew);
    EXPECT_EQ(games[2]["id"], kOld);
    EXPECT_EQ(games[2]["date"], "2026-12-01 10:00:00");
    EXPECT_EQ(games[0]["names"][0], "Anna");
    EXPECT_EQ(games[0]["totals"], nlohmann::json::parse(record.substr(record.rfind('{')))["totals"]);

    const struct {
        std::string path;
        int status;
        std::string body;
    } routes[] = {
        {"/review", 200, "<p>list</p>"},
        {"/review/?sort=new", 200, "<p>list</p>"},
        {"/review/" + std::string(kOld), 200, "<p>game</p>"},
        {"/review/files/review.js", 200, "export {};"},
        {"/review/files/missing.js", 404, ""},
        {"/review/files/../game.html", 404, ""},
        {"/review/game-20261203-090000-t2", 404, ""},
        {"/review/notes", 404, ""},
        {"/review/..", 404, ""},
        {"/review/api/games/../../etc/passwd", 404, ""},
        {"/review/api/games/" + std::string(kOld) + "/../x", 404, ""},
        {"/other", 404, ""},
    };
    for (const auto& route : routes) {
        SCOPED_TRACE(route.path);
        const Response response = service.handle(route.path);
        EXPECT_EQ(response.status, route.status);
        if (!route.body.empty()) EXPECT_EQ(response.body, route.body);
    }
    const auto game = nlohmann::json::parse(service.handle("/review/api/games/" + std::string(kOld)).body);
    EXPECT_EQ(game["deals"].size(), 1u);
    EXPECT_EQ(game["summary"]["id"], kOld);
}

TEST_F(ReviewTest, AnAnalysisIsMadeOnceAndAStaleOrCorruptOneIsMadeAgain) {
    const std::string record = testing::abandonedAfterFirstDeal(testing::recordedGame(6));
    write(std::string(kOld) + ".jsonl", record);
    const auto game = analysis::readRecord(record);
    const auto expected = analysis::toJson(analysis::analyzeGame(game, 1).front());
    const auto stored = storedAnalysisPath(dir_ / (std::string(kOld) + ".jsonl"));
    {
        ReviewService service(options());
        EXPECT_EQ(service.handle("/review/api/games/" + std::string(kOld) + "/analysis").status, 202);
        const Response done = analysisWhenDone(service, kOld);
        ASSERT_EQ(done.status, 200) << done.body;
        EXPECT_EQ(nlohmann::json::parse(done.body)["deals"][0], expected);
    }
    std::string good;
    std::getline(std::ifstream(stored), good);

    const struct {
        const char* what;
        std::function<std::string(std::string)> change;
        int firstStatus;
    } cases[] = {
        {"kept", [](std::string s) { return s; }, 200},
        {"cut", [](std::string s) { return s.substr(0, s.size() / 2); }, 202},
        {"a loss changed", [](std::string s) { return s.insert(s.find("\"loss\":") + 7, "1"); }, 202},
        {"for another record", [](std::string s) { return s.replace(s.find("\"record\":\"") + 10, 1, "x"); }, 202},
        {"a string for a number", [](std::string s) { return s.replace(s.find("\"final\":"), 8, "\"final\":\"1\",\"x\":"); }, 202},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(stored, std::ios::binary | std::ios::trunc) << c.change(good) << '\n';
        ReviewService service(options());
        EXPECT_EQ(service.handle("/review/api/games/" + std::string(kOld) + "/analysis").status, c.firstStatus);
        const Response done = analysisWhenDone(service, kOld);
        ASSERT_EQ(done.status, 200) << done.body;
        EXPECT_EQ(nlohmann::json::parse(done.body)["deals"][0], expected);
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << "a temporary file is left";
}

}  // namespace
}  // namespace lerva::review
