#include "engine/VxEditFileSearch.h"

#include "engine/VxEditFileMatchReader.h"
#include "engine/VxEditFileWalker.h"
#include "engine/VxEditLineMatcher.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>

namespace {

using Outcome = VxEditFileMatchReader::Outcome;

// Hands the files' results to the sink in file order, whichever thread
// finished them, and keeps the counts.
class OrderedResults {
public:
    OrderedResults(IVxEditFileSearchSink& sink, VxEditFileSearchSummary& summary, std::int64_t files)
        : sink_(sink), summary_(summary), files_(files)
    {
    }

    // What the search of one file found; the counts of lines the pattern
    // was too complex for come from the reader.
    struct Done {
        std::string path;
        Outcome outcome;
        std::vector<VxEditFileMatch> matches;
        std::int64_t tooComplexLines = 0;
        std::int64_t firstTooComplex = 0;
    };

    void Add(std::int64_t index, Done&& done)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        waiting_.emplace(index, std::move(done));
        for (auto next = waiting_.find(next_); next != waiting_.end(); next = waiting_.find(next_)) {
            Pass(next->second);
            waiting_.erase(next);
            ++next_;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now - lastProgress_ > std::chrono::milliseconds(100) || next_ == files_) {
            lastProgress_ = now;
            sink_.OnProgress(next_, files_);
        }
    }

private:
    void Pass(Done& done)
    {
        if (done.tooComplexLines > 0 && summary_.tooComplexLines == 0) {
            summary_.tooComplexPath = done.path;
            summary_.tooComplexLine = done.firstTooComplex;
        }
        summary_.tooComplexLines += done.tooComplexLines;
        switch (done.outcome) {
        case Outcome::Searched:
            ++summary_.filesSearched;
            break;
        case Outcome::Binary:
            ++summary_.binarySkipped;
            break;
        case Outcome::Unreadable:
            ++summary_.unreadable;
            break;
        case Outcome::Stopped:
            break;
        }
        if (done.matches.empty())
            return;
        ++summary_.filesMatched;
        summary_.matches += static_cast<std::int64_t>(done.matches.size());
        sink_.OnMatches(std::move(done.matches));
    }

    IVxEditFileSearchSink& sink_;
    VxEditFileSearchSummary& summary_;
    const std::int64_t files_;
    std::mutex mutex_;
    std::map<std::int64_t, Done> waiting_;
    std::int64_t next_ = 0;
    std::chrono::steady_clock::time_point lastProgress_{};
};

}  // namespace

VxEditFileSearch::VxEditFileSearch(IVxEditFileSearchSink& sink) : sink_(sink) {}

VxEditFileSearch::~VxEditFileSearch()
{
    Stop();
    Wait();
}

void VxEditFileSearch::Start(VxEditFileSearchRequest request)
{
    Stop();
    Wait();
    stop_ = false;
    thread_ = std::thread([this, request = std::move(request)] { Run(request, sink_, stop_); });
}

void VxEditFileSearch::Wait()
{
    if (thread_.joinable())
        thread_.join();
}

VxEditFileSearchSummary VxEditFileSearch::Run(const VxEditFileSearchRequest& request, IVxEditFileSearchSink& sink,
                                              const std::atomic<bool>& stop, int threads)
{
    VxEditFileSearchSummary summary;
    {
        VxEditLineMatcher probe(request.text, request.matchCase, request.wholeWord, request.pattern);
        if (!probe.IsValid(summary.patternError)) {
            sink.OnFinished(summary);
            return summary;
        }
    }
    std::vector<std::string> files;
    VxEditFileWalker walker(request.fileTypes, request.subfolders, stop);
    walker.Walk(request.folder, files);
    summary.unreadable = walker.Unreadable();
    sink.OnProgress(0, static_cast<std::int64_t>(files.size()));

    OrderedResults results(sink, summary, static_cast<std::int64_t>(files.size()));
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        // Each thread has a pattern engine and a buffer of its own.
        VxEditLineMatcher matcher(request.text, request.matchCase, request.wholeWord, request.pattern);
        std::string unused;
        matcher.IsValid(unused);
        VxEditFileMatchReader reader(matcher, stop);
        for (std::size_t i = next++; i < files.size(); i = next++) {
            OrderedResults::Done done{files[i], Outcome::Stopped, {}};
            if (!stop.load(std::memory_order_relaxed)) {
                const auto open = request.openTexts.find(files[i]);
                done.outcome = open != request.openTexts.end()
                                   ? reader.SearchText(files[i], open->second, done.matches)
                                   : reader.Search(files[i], done.matches);
            }
            if (done.outcome == Outcome::Stopped) {
                done.matches.clear();
            } else {
                done.tooComplexLines = reader.TooComplexLines();
                done.firstTooComplex = reader.FirstTooComplexLine();
            }
            results.Add(static_cast<std::int64_t>(i), std::move(done));
        }
    };
    if (threads <= 0)
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(threads), std::max<std::size_t>(files.size(), 1)));
    std::vector<std::thread> helpers;
    for (int i = 1; i < threads; ++i)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
    summary.stopped = stop.load();
    sink.OnFinished(summary);
    return summary;
}
