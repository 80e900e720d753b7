#pragma once

#include <functional>
#include <vector>

// The undo steps of a procedure that changes several files: run in reverse order when it fails
// part way, dropped when it succeeds.
class Rollback
{
public:
    void add(std::function<void()> undo) { m_steps.push_back(std::move(undo)); }
    void run()
    {
        while (!m_steps.empty()) {
            m_steps.back()();
            m_steps.pop_back();
        }
    }
    void dismiss() { m_steps.clear(); }

private:
    std::vector<std::function<void()>> m_steps;
};
