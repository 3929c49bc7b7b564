#pragma once

#include "app/platform/MessageBoxes.h"

#include <QString>

#include <deque>
#include <vector>

namespace torumin::testing {

// Message boxes that never block: each box takes the next queued answer and is
// recorded with its exact text, title and style. A box with no answer queued is
// answered Cancel and counted, so a test can fail on it instead of hanging.
class ScriptedMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        QString text;
        int style = 0;
        QString title;
        QRect keep;  // what it was to leave in view; empty when nothing
    };

    MsgResult MsgBox(const QString &text, int style, const QString &title) override
    {
        m_shown.push_back({text, style, title, QRect()});
        if (m_answers.empty()) {
            ++m_unanswered;
            return MsgResult::Cancel;
        }
        const MsgResult answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    MsgResult MsgBoxClearOf(const QString &text, int style, const QString &title, const QRect &keep) override
    {
        const MsgResult answer = MsgBox(text, style, title);
        m_shown.back().keep = keep;
        return answer;
    }

    void queueAnswer(MsgResult answer) { m_answers.push_back(answer); }
    [[nodiscard]] const std::vector<Shown> &shown() const { return m_shown; }
    [[nodiscard]] int unanswered() const { return m_unanswered; }
    [[nodiscard]] std::size_t pendingAnswers() const { return m_answers.size(); }
    void clear()
    {
        m_shown.clear();
        m_answers.clear();
        m_unanswered = 0;
    }

private:
    std::vector<Shown> m_shown;
    std::deque<MsgResult> m_answers;
    int m_unanswered = 0;
};

} // namespace torumin::testing
