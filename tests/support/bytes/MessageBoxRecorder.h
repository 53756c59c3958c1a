#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/bytes/MessageBoxes.h"

struct RecordedBox {
    void* owner;
    std::string text;
    std::string caption;
    unsigned flags;
};

// While alive, every message box is recorded instead of shown. Each box is
// answered with the next queued answer, or as Enter would answer it.
// Boxes may come from any thread.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void QueueAnswer(int answer);
    // Runs while each box is up, before it is answered, as the user's other
    // windows would run in the box's message loop (a note repainting).
    void WhileShown(std::function<void()> action);
    std::vector<RecordedBox> Boxes() const;
    size_t Count() const;
    std::string LastText() const;
    bool Saw(const std::string& text) const;
    void Clear();

private:
    static int Record(void* owner, const char* text, const char* caption, unsigned flags);

    mutable std::mutex m_lock;
    std::vector<RecordedBox> m_boxes;
    std::deque<int> m_answers;
    std::function<void()> m_whileShown;
    static std::atomic<bool> s_inWhileShown;
    MessageBoxHandler m_previous;
    MessageBoxRecorder* m_outer;
};
