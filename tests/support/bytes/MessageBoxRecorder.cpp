#include "support/bytes/MessageBoxRecorder.h"

namespace {
std::mutex g_currentLock;
MessageBoxRecorder* g_current = nullptr;
}

std::atomic<bool> MessageBoxRecorder::s_inWhileShown{false};

MessageBoxRecorder::MessageBoxRecorder()
{
    std::lock_guard<std::mutex> guard(g_currentLock);
    m_outer = g_current;
    g_current = this;
    m_previous = SetMessageBoxHandler(&MessageBoxRecorder::Record);
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    std::lock_guard<std::mutex> guard(g_currentLock);
    g_current = m_outer;
    SetMessageBoxHandler(m_previous);
}

int MessageBoxRecorder::Record(void* owner, const char* text, const char* caption, unsigned flags)
{
    int answer = DefaultButtonAnswer(flags);
    std::function<void()> whileShown;
    {
        std::lock_guard<std::mutex> guard(g_currentLock);
        MessageBoxRecorder* self = g_current;
        if (!self)
            return answer;
        std::lock_guard<std::mutex> own(self->m_lock);
        self->m_boxes.push_back({owner, text ? text : "", caption ? caption : "", flags});
        if (!self->m_answers.empty()) {
            answer = self->m_answers.front();
            self->m_answers.pop_front();
        }
        whileShown = self->m_whileShown;
    }
    // Run without the locks, and once: a box that the action shows is only recorded.
    if (whileShown && !s_inWhileShown.exchange(true)) {
        whileShown();
        s_inWhileShown = false;
    }
    return answer;
}

void MessageBoxRecorder::WhileShown(std::function<void()> action)
{
    std::lock_guard<std::mutex> own(m_lock);
    m_whileShown = std::move(action);
}

void MessageBoxRecorder::QueueAnswer(int answer)
{
    std::lock_guard<std::mutex> own(m_lock);
    m_answers.push_back(answer);
}

std::vector<RecordedBox> MessageBoxRecorder::Boxes() const
{
    std::lock_guard<std::mutex> own(m_lock);
    return m_boxes;
}

size_t MessageBoxRecorder::Count() const
{
    std::lock_guard<std::mutex> own(m_lock);
    return m_boxes.size();
}

std::string MessageBoxRecorder::LastText() const
{
    std::lock_guard<std::mutex> own(m_lock);
    return m_boxes.empty() ? std::string() : m_boxes.back().text;
}

bool MessageBoxRecorder::Saw(const std::string& text) const
{
    std::lock_guard<std::mutex> own(m_lock);
    for (const RecordedBox& box : m_boxes)
        if (box.text == text)
            return true;
    return false;
}

void MessageBoxRecorder::Clear()
{
    std::lock_guard<std::mutex> own(m_lock);
    m_boxes.clear();
    m_answers.clear();
}
