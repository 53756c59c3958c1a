#include <atomic>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/Allocator.h"
#include "foundation/GenericString.h"
#include "support/CurrentFolder.h"
#include "support/TempFolder.h"
#include "support/bytes/ErrorOf.h"
#include "support/bytes/MessageBoxRecorder.h"

namespace {
struct LiveBlock {
    CBlockDescriptor* descriptor;
    std::string bytes;
};

void Fill(CBlockDescriptor* d, std::mt19937& random, std::string& model)
{
    model.resize(d->size);
    for (DWORD i = 0; i < d->size; ++i)
        model[i] = static_cast<char>(random());
    std::memcpy(d->address, model.data(), d->size);
}
}

TEST(Allocator, RandomAllocateAndFreeKeepsEveryBlocksBytes)
{
    MessageBoxRecorder boxes;
    CAllocator pool("Test Allocator", 4000, 30, "NEW");
    std::mt19937 random(1234);
    std::vector<LiveBlock> live;
    int compactions = 0;
    for (int step = 0; step < 5000; ++step) {
        bool allocate = live.empty() || (live.size() < 29 && random() % 3 != 0);
        if (allocate) {
            DWORD size = 1 + random() % 300;
            if (size > pool.GetFreeTotal())
                continue;
            bool willCompact = size > pool.GetTailRun();
            CBlockDescriptor* d = pool.Aloca(size);
            ASSERT_NE(d, nullptr);
            compactions += willCompact;
            LiveBlock block{d, ""};
            Fill(d, random, block.bytes);
            live.push_back(block);
        } else {
            size_t victim = random() % live.size();
            pool.Free(live[victim].descriptor);
            live.erase(live.begin() + static_cast<long>(victim));
        }
        for (const LiveBlock& block : live)
            ASSERT_EQ(std::string(reinterpret_cast<char*>(block.descriptor->address), block.descriptor->size),
                      block.bytes);
    }
    EXPECT_GT(compactions, 50);
    EXPECT_TRUE(pool.CheckAllocatorConsistency());
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST(Allocator, CompactionMovesLaterBlocksDown)
{
    CAllocator pool("Test Allocator", 100, 5, "PROCESSHEAP");
    CBlockDescriptor* a = pool.Aloca(30);
    CBlockDescriptor* b = pool.Aloca(30);
    CBlockDescriptor* c = pool.Aloca(30);
    std::memset(c->address, 'c', 30);
    BYTE* cBefore = c->address;
    pool.Free(b);
    EXPECT_EQ(pool.GetTailRun(), 10u) << "a hole in the middle does not lengthen the tail";
    CBlockDescriptor* d = pool.Aloca(40);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(c->address, a->address + 30);
    EXPECT_LT(c->address, cBefore);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(c->address), 30), std::string(30, 'c'));
    EXPECT_EQ(d->address, c->address + 30);
    EXPECT_EQ(pool.GetTailRun(), 0u);

    pool.Free(d);
    EXPECT_EQ(pool.GetTailRun(), 40u) << "freeing the last block restores the tail at once";
    EXPECT_EQ(pool.GetFreeTotal(), 40u);
}

TEST(Allocator, RequestAboveTheFreeTotalThrowsAndLeavesThePoolUsable)
{
    TempFolder folder;
    CurrentFolder current(folder.Path());
    CAllocator pool("Test Allocator", 100, 5, "NEW");
    pool.Aloca(60);
    EXPECT_THROW(pool.Aloca(41), CGenericException);
    EXPECT_EQ(ReadWholeFile(folder.File("error.txt")), "Memory request: 41 bytes, Available: 40 bytes\r\n");
    EXPECT_NE(pool.Aloca(40), nullptr);
    EXPECT_TRUE(pool.CheckAllocatorConsistency());
}

TEST(Allocator, MisuseShowsItsBoxesAndChangesNothing)
{
    MessageBoxRecorder boxes;
    CAllocator pool("Test Allocator", 100, 2, "NEW");
    CBlockDescriptor* first = pool.Aloca(10);
    pool.Aloca(1);
    EXPECT_EQ(pool.Aloca(1), nullptr);
    EXPECT_EQ(boxes.LastText(), "3 - The memory allocator is full");

    pool.Free(first->prev);
    EXPECT_EQ(boxes.LastText(), "Free the first descriptor ?!");
    EXPECT_EQ(pool.GetObjectCount(), 3u);
    EXPECT_EQ(pool.GetFreeTotal(), 89u);
    EXPECT_TRUE(pool.CheckAllocatorConsistency());

    pool.Free(first);
    pool.Free(first);
    EXPECT_EQ(boxes.LastText(), "The descriptor is already free !?");
}

TEST(Allocator, BadArgumentsAndOutOfRangeWritesThrowTheirTexts)
{
    EXPECT_EQ(ErrorOf([] { CAllocator pool("x", 0, 2, "NEW"); }), "The Allocator size is negative or zero");
    EXPECT_EQ(ErrorOf([] { CAllocator pool("x", 10, 2, "MALLOC"); }),
              " Unknown allocator method?! Use NEW or PROCESSHEAP.");

    CAllocator pool("Test Allocator", 100, 2, "NEW");
    CAlocatorPointer<char> block(&pool, 4);
    block.SetCharFromIndex(3, 'x');
    EXPECT_EQ(block.GetAddress()[3], 'x');
    EXPECT_EQ(ErrorOf([&] { block.SetCharFromIndex(4, 'y'); }), "CAlocatorPointer<T>:: SetCharFromIndex out of range ");
}

namespace {
// Runs the body on a thread of its own and waits for it.
template <class Body>
void OnWorkerThread(Body body)
{
    std::thread worker(body);
    worker.join();
}
}

// The pools belong to the main thread: a worker's strings and buffers come from
// the heap and never move, a worker cannot read a pooled block (the main thread
// may be moving it), and neither the main thread's compactions nor the workers'
// own strings disturb what each of them reads.
TEST(Allocator, WorkerThreadsNeverUseThePool)
{
    TempFolder folder;
    CurrentFolder current(folder.Path());
    CGenericString mainText("main");
    DWORD pooled = StringAllocator().GetObjectCount();
    DWORD notePooled = NoteAllocator().GetObjectCount();
    std::string refused;
    OnWorkerThread([&] {
        CGenericString text("worker");
        text += " text";
        CAlocatorPointer<BYTE> buffer(&NoteAllocator(), 51200);
        EXPECT_FALSE(buffer.IsPooled());
        EXPECT_EQ(buffer.GetSize(), 51200u);
        buffer.SetCharFromIndex(51199, 'z');
        EXPECT_EQ(StringAllocator().GetObjectCount(), pooled);
        EXPECT_EQ(NoteAllocator().GetObjectCount(), notePooled);
        EXPECT_STREQ(text.GetString(), "worker text");
        refused = ErrorOf([&] { mainText.GetString(); });
    });
    EXPECT_EQ(refused, "Reading a pooled block called from a thread other than the main thread");
    EXPECT_NE(ReadWholeFile(folder.File("error.txt")).find(refused), std::string::npos);

    // Four workers build texts while the main thread keeps compacting the pool.
    const int kWorkers = 4;
    const int kRounds = 300;
    std::atomic<int> wrong{0};
    std::atomic<int> running{kWorkers};
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w)
        workers.emplace_back([&, w] {
            for (int round = 0; round < kRounds; ++round) {
                std::string expected = std::string(40 + round % 50, static_cast<char>('a' + w)) + std::to_string(round);
                CGenericString text(expected.substr(0, 10).c_str());
                text += expected.substr(10).c_str();
                const char* address = text.GetString();
                Sleep(0);
                if (text.GetString() != address || expected != text.GetString())
                    ++wrong;
            }
            --running;
        });
    MessageBoxRecorder boxes;
    int mainWrong = 0;
    for (int round = 0; running > 0 && round < 100000; ++round) {
        std::unique_ptr<CGenericString> gap(new CGenericString(std::string(8000, 'g').c_str()));
        CGenericString kept("kept");
        gap.reset();
        CGenericString large(std::string(35000, 'l').c_str());
        mainWrong += std::strcmp(kept.GetString(), "kept") != 0;
    }
    for (std::thread& worker : workers)
        worker.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(mainWrong, 0);
    EXPECT_TRUE(StringAllocator().CheckAllocatorConsistency());
}
