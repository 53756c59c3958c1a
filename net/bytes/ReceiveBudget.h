#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <string>

// How much the program takes from its peers: the bytes of received texts it
// holds at once (every port and connection together), and from one peer (its
// address) within a minute the bytes it sent and the note text they carried
// (the text becomes a note window, by far the dearest part of a note to keep).
// What would pass a bound is refused, so that one peer cannot take what
// others need. Times are milliseconds of a wrapping 32-bit clock. Not locked:
// the caller holds one lock around every call.

struct CReceiveLimits {
    std::uint64_t bytesInFlight = 64u * 1024 * 1024;
    std::uint64_t peerBytesPerMinute = 40u * 1024 * 1024;
    std::uint64_t peerTextPerMinute = 4u * 1024 * 1024;
};

enum class BudgetRefusal { kNone, kInFlight, kPeerBytes, kPeerText };

class CReceiveBudget {
public:
    explicit CReceiveBudget(const CReceiveLimits& limits = CReceiveLimits()) : m_limits(limits) {}

    const CReceiveLimits& Limits() const { return m_limits; }

    // Count more bytes of a text arriving from the peer. Taken (kNone), they
    // are held until Release and count for the peer's minute.
    BudgetRefusal TakeBytes(const std::string& peer, std::uint64_t count, std::uint32_t nowMs);
    // The note text the peer may still bring within its minute.
    std::uint64_t TextAllowance(const std::string& peer, std::uint32_t nowMs);
    BudgetRefusal TakeText(const std::string& peer, std::uint64_t count, std::uint32_t nowMs);
    // A text handled: its bytes are no longer held.
    void Release(std::uint64_t count);

    std::uint64_t BytesInFlight() const { return m_inFlight; }
    // Peers with something in their minute (the others are forgotten).
    size_t PeersRemembered() const { return m_peers.size(); }

private:
    struct Usage {
        std::uint32_t at;
        std::uint64_t bytes;
        std::uint64_t text;
    };
    struct PeerMinute {
        std::deque<Usage> usage;  // oldest first, one entry per second at most
        std::uint64_t bytes = 0;
        std::uint64_t text = 0;
    };
    // The peer's minute up to now, older usage dropped.
    PeerMinute& MinuteOf(const std::string& peer, std::uint32_t nowMs);
    void Add(PeerMinute& minute, std::uint32_t nowMs, std::uint64_t bytes, std::uint64_t text);
    void ForgetIdlePeers(std::uint32_t nowMs);

    CReceiveLimits m_limits;
    std::uint64_t m_inFlight = 0;
    std::map<std::string, PeerMinute> m_peers;
};

// Why a text was refused, with the bound it would pass, for the error log.
std::string DescribeBudgetRefusal(BudgetRefusal refusal, const CReceiveLimits& limits);
