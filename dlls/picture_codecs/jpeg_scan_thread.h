#pragma once
// A streamed JPEG's entropy decoding on a thread of its own, a few stripes ahead of the rows
// being read: undoing the Huffman coding is the one part of a decode that cannot be split,
// and it takes about as long as everything after it.

#include <array>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

struct StbJpegRows;

namespace picture_codecs {

class JpegScanThread {
public:
    // Starts decoding the scan of `rows`, which must outlive this.
    explicit JpegScanThread(StbJpegRows* rows);
    ~JpegScanThread();
    JpegScanThread(const JpegScanThread&) = delete;
    JpegScanThread& operator=(const JpegScanThread&) = delete;

    // Turns decoded stripes into plane lines until `count` of them are, waiting for them as
    // needed; false when one of them lies past corrupt scan data.
    bool TransformUpTo(int count);
    // Waits for the rest of the file to be read: false when it is corrupt.
    bool Finish();

private:
    static constexpr int Ahead = 8;  // stripes decoded and not yet turned into lines
    // A reading thread that has to wait sleeps until this many stripes are ready: waking it
    // for each one cost the decoding thread a system call a stripe.
    static constexpr int WakeAfter = 4;
    enum class End { Open, Complete, Corrupt };
    struct alignas(16) Block {
        short coefficients[64];
    };
    struct Stripe {
        std::vector<Block> blocks;
        int units = 0;
    };

    void Run();
    bool TransformNext();
    // The thread's work for one stripe, or all of it when no thread could be started.
    bool DecodeNext();
    void FinishFile();

    StbJpegRows* rows_;
    const int stripes_;
    std::array<Stripe, Ahead> ring_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int decoded_ = 0;
    int transformed_ = 0;
    End end_ = End::Open;
    bool stop_ = false;
    // The stripes decoded that the waiting reader wakes for; 0 when it does not wait.
    int wanted_ = 0;
    bool decoderWaits_ = false;  // for a free place in the ring
    std::thread thread_;         // last, so that it starts once everything it uses is made
};

}  // namespace picture_codecs
