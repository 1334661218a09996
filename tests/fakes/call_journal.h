#pragma once

#include <string>
#include <vector>

// One log that several fakes write to, so a test can check the order of calls
// across services. Fakes given no journal record nothing in it.
struct CallJournal {
    std::vector<std::string> entries;

    void add(std::string entry) { entries.push_back(std::move(entry)); }
};

inline void Record(CallJournal *journal, std::string entry)
{
    if (journal)
        journal->add(std::move(entry));
}
