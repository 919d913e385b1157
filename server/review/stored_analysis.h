// A game's analysis kept beside its record ("<id>.analysis.json"), so that
// it is computed once. What is read back is served only if it belongs to the
// record as it is now (a fingerprint of its bytes) and its numbers agree
// with the record's play; otherwise it counts as missing and is made again.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "deal_analysis.h"
#include "recorded_game.h"

namespace lerva::review {

std::filesystem::path storedAnalysisPath(const std::filesystem::path& recordPath);

// Fingerprint of a record's bytes (FNV-1a, 64 bits, in hex).
std::string recordFingerprint(const std::string& recordText);

// The deals' analyses (as toJson gives them), or nothing when the file is
// missing, unreadable, for another version of the record, or inconsistent.
std::optional<nlohmann::json> loadStoredAnalysis(const std::filesystem::path& recordPath,
                                                 const std::string& recordText,
                                                 const analysis::RecordedGame& game);

// Writes the file whole or not at all: a temporary file renamed over it.
// Returns false (and leaves no temporary file) when it cannot be written.
bool storeAnalysis(const std::filesystem::path& recordPath, const std::string& recordText,
                   const std::vector<analysis::DealAnalysis>& deals);

// Do these stored numbers fit this deal: its cards in order, a value chain
// that moves by each card's loss, a best card exactly where nothing was lost,
// and the recorded points at the end?
bool agreesWith(const nlohmann::json& deal, const analysis::RecordedDeal& recorded);

}  // namespace lerva::review
