#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

// Trajectory points from the thread that integrates to the thread that draws: a bounded ring
// of blocks with one writer and one reader. The writer waits when the reader is a whole ring
// behind, the reader when it has caught up; each side wakes the other only per block.
class CPointQueue {
public:
    // Long blocks: each hand-over wakes the other thread, which costs more than the cache the
    // block takes (qel-bench: 512 points slower than 2048, 8192 a little faster still).
    static constexpr int kBlockPoints = 8192;
    static constexpr int kBlocks = 8;

    CPointQueue() : m_blocks(new Block[kBlocks]) {}

    // Writer side.
    void Push(double x, double y, double z) {
        double* slot = m_blocks[m_nPublished % kBlocks].xyz + 3 * m_nFill;
        slot[0] = x;
        slot[1] = y;
        slot[2] = z;
        if (++m_nFill == kBlockPoints)
            Publish();
    }
    // Hands over the last points; a block shorter than kBlockPoints ends the stream.
    void Close() { Publish(); }

    // Reader side: fn(xyz, count) for every block of points (x, y, z after one another), in
    // order, until the writer closes.
    template <class Fn> void Drain(Fn&& fn) {
        for (int next = 0;; ++next) {
            for (int ready; (ready = m_nReady.load(std::memory_order_acquire)) == next;)
                m_nReady.wait(ready, std::memory_order_acquire);
            const Block& block = m_blocks[next % kBlocks];
            fn(static_cast<const double*>(block.xyz), block.count);
            const bool last = block.count < kBlockPoints;
            m_nDone.store(next + 1, std::memory_order_release);
            m_nDone.notify_one();
            if (last)
                return;
        }
    }

private:
    struct Block {
        int count = 0;
        double xyz[3 * kBlockPoints];
    };
    void Publish() {
        m_blocks[m_nPublished % kBlocks].count = m_nFill;
        m_nReady.store(++m_nPublished, std::memory_order_release);
        m_nReady.notify_one();
        m_nFill = 0;
        // The next block's slot must have been drawn from.
        for (int done; m_nPublished - (done = m_nDone.load(std::memory_order_acquire)) >= kBlocks;)
            m_nDone.wait(done, std::memory_order_acquire);
    }

    std::unique_ptr<Block[]> m_blocks;
    int m_nPublished = 0, m_nFill = 0; // writer only
    std::atomic<int> m_nReady{0};      // blocks published
    std::atomic<int> m_nDone{0};       // blocks drawn
};
