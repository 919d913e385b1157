#include "analyze_command.h"

#include <ostream>

#include "deal_analysis.h"

namespace lerva::analysis {

int runAnalyze(const std::string& path, int threads, std::ostream& out, std::ostream& err) {
    try {
        const RecordedGame game = readRecordFile(path);
        for (const DealAnalysis& deal : analyzeGame(game, threads)) out << toJsonLine(deal) << '\n';
        out.flush();
        return 0;
    } catch (const RecordError& error) {
        err << "lerva-server: " << describe(error, path) << '\n';
    } catch (const std::exception& error) {
        err << "lerva-server: " << path << ": " << error.what() << '\n';
    }
    return 1;
}

}  // namespace lerva::analysis
