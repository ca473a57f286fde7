#pragma once

#include "engine/VxEditFileSearchRequest.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

// Where a search's results go. The calls come from the search's own
// threads, one at a time and in file order.
class IVxEditFileSearchSink {
public:
    virtual ~IVxEditFileSearchSink() = default;
    // The lines of one file that hold a match, in line order.
    virtual void OnMatches(std::vector<VxEditFileMatch>&& matches) = 0;
    virtual void OnProgress(std::int64_t filesSearched, std::int64_t filesToSearch) = 0;
    virtual void OnFinished(const VxEditFileSearchSummary& summary) = 0;
};

// Find in Files: walks the folder, then searches its files on as many
// threads as the machine has cores, each file read in pieces of whole lines
// so that a huge file never has to fit in memory. Documents open in the
// editor are searched in the text given for them. Files with a NUL in their
// first 8 KiB are binary and skipped; files that cannot be read are skipped
// too; both are counted. Stop ends a search within a piece of a file.
class VxEditFileSearch {
public:
    explicit VxEditFileSearch(IVxEditFileSearchSink& sink);
    // Stops the search and waits for its threads.
    ~VxEditFileSearch();
    VxEditFileSearch(const VxEditFileSearch&) = delete;
    VxEditFileSearch& operator=(const VxEditFileSearch&) = delete;

    // Starts a search on a thread of its own, after stopping any running one.
    void Start(VxEditFileSearchRequest request);
    // Asks the running search to end; OnFinished still follows.
    void Stop() { stop_ = true; }
    // Waits until the search has finished.
    void Wait();

    // Runs a whole search on the calling thread and threads of its own;
    // threads 0 means one per core.
    static VxEditFileSearchSummary Run(const VxEditFileSearchRequest& request, IVxEditFileSearchSink& sink,
                                       const std::atomic<bool>& stop, int threads = 0);

private:
    IVxEditFileSearchSink& sink_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
