#include "net/bytes/ReceiveBudget.h"

namespace {
const std::uint32_t kMinuteMs = 60000;
const std::uint32_t kUsageSliceMs = 1000;
const std::uint64_t kMegabyte = 1024 * 1024;
}

CReceiveBudget::PeerMinute& CReceiveBudget::MinuteOf(const std::string& peer, std::uint32_t nowMs)
{
    ForgetIdlePeers(nowMs);
    PeerMinute& minute = m_peers[peer];
    while (!minute.usage.empty() && nowMs - minute.usage.front().at >= kMinuteMs) {
        minute.bytes -= minute.usage.front().bytes;
        minute.text -= minute.usage.front().text;
        minute.usage.pop_front();
    }
    return minute;
}

void CReceiveBudget::Add(PeerMinute& minute, std::uint32_t nowMs, std::uint64_t bytes, std::uint64_t text)
{
    if (minute.usage.empty() || nowMs - minute.usage.back().at >= kUsageSliceMs)
        minute.usage.push_back(Usage{nowMs, 0, 0});
    minute.usage.back().bytes += bytes;
    minute.usage.back().text += text;
    minute.bytes += bytes;
    minute.text += text;
}

// Every peer whose last usage is a minute old; so the map holds no more peers
// than sent something within the minute.
void CReceiveBudget::ForgetIdlePeers(std::uint32_t nowMs)
{
    for (auto peer = m_peers.begin(); peer != m_peers.end();) {
        const std::deque<Usage>& usage = peer->second.usage;
        if (usage.empty() || nowMs - usage.back().at >= kMinuteMs)
            peer = m_peers.erase(peer);
        else
            ++peer;
    }
}

BudgetRefusal CReceiveBudget::TakeBytes(const std::string& peer, std::uint64_t count, std::uint32_t nowMs)
{
    if (m_inFlight + count > m_limits.bytesInFlight)
        return BudgetRefusal::kInFlight;
    PeerMinute& minute = MinuteOf(peer, nowMs);
    if (minute.bytes + count > m_limits.peerBytesPerMinute)
        return BudgetRefusal::kPeerBytes;
    Add(minute, nowMs, count, 0);
    m_inFlight += count;
    return BudgetRefusal::kNone;
}

std::uint64_t CReceiveBudget::TextAllowance(const std::string& peer, std::uint32_t nowMs)
{
    const PeerMinute& minute = MinuteOf(peer, nowMs);
    return minute.text < m_limits.peerTextPerMinute ? m_limits.peerTextPerMinute - minute.text : 0;
}

BudgetRefusal CReceiveBudget::TakeText(const std::string& peer, std::uint64_t count, std::uint32_t nowMs)
{
    if (count > TextAllowance(peer, nowMs))
        return BudgetRefusal::kPeerText;
    Add(MinuteOf(peer, nowMs), nowMs, 0, count);
    return BudgetRefusal::kNone;
}

void CReceiveBudget::Release(std::uint64_t count)
{
    m_inFlight -= count < m_inFlight ? count : m_inFlight;
}

std::string DescribeBudgetRefusal(BudgetRefusal refusal, const CReceiveLimits& limits)
{
    auto megabytes = [](std::uint64_t bytes) {
        return bytes % kMegabyte == 0 ? std::to_string(bytes / kMegabyte) + " MB"
                                      : std::to_string((bytes + 1023) / 1024) + " KB";
    };
    switch (refusal) {
    case BudgetRefusal::kNone:
        return "within the bounds";
    case BudgetRefusal::kInFlight:
        return "the received texts held at once would pass " + megabytes(limits.bytesInFlight);
    case BudgetRefusal::kPeerBytes:
        return "the peer would send more than " + megabytes(limits.peerBytesPerMinute) + " within a minute";
    case BudgetRefusal::kPeerText:
        return "the peer would send more than " + megabytes(limits.peerTextPerMinute) + " of note text within a minute";
    }
    return "unknown";
}
