#include "jpeg_scan_thread.h"

#include <algorithm>
#include <system_error>

#include "stb_jpeg_rows.h"

namespace picture_codecs {

JpegScanThread::JpegScanThread(StbJpegRows* rows) : rows_(rows), stripes_(stb_jpeg_rows_stripes(rows))
{
    for (Stripe& stripe : ring_)
        stripe.blocks.resize(stb_jpeg_rows_stripe_blocks(rows));
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread to be had: TransformNext decodes each stripe itself.
    }
}

JpegScanThread::~JpegScanThread()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

bool JpegScanThread::DecodeNext()
{
    Stripe& stripe = ring_[static_cast<size_t>(decoded_ % Ahead)];
    const int units = stb_jpeg_rows_decode_stripe(rows_, stripe.blocks.data()->coefficients);
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (units < 0) {
            end_ = End::Corrupt;
        } else {
            stripe.units = units;
            ++decoded_;
        }
        wake = units < 0 || (wanted_ > 0 && decoded_ >= wanted_);
    }
    if (wake)
        changed_.notify_all();
    return units >= 0;
}

void JpegScanThread::FinishFile()
{
    const bool complete = stb_jpeg_rows_finish(rows_) != 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        end_ = complete ? End::Complete : End::Corrupt;
    }
    changed_.notify_all();
}

void JpegScanThread::Run()
{
    // Only this thread changes decoded_, so it may read it without the lock.
    while (decoded_ < stripes_) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            decoderWaits_ = true;
            changed_.wait(lock, [this] { return stop_ || decoded_ - transformed_ < Ahead; });
            decoderWaits_ = false;
            if (stop_)
                return;
        }
        if (!DecodeNext())
            return;
    }
    FinishFile();
}

bool JpegScanThread::TransformNext()
{
    if (!thread_.joinable() && (end_ == End::Corrupt || !DecodeNext()))
        return false;
    int next = 0;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (decoded_ <= transformed_ && end_ != End::Corrupt) {
            wanted_ = std::min(stripes_, transformed_ + WakeAfter);
            changed_.wait(lock, [this] { return decoded_ >= wanted_ || end_ == End::Corrupt; });
            wanted_ = 0;
        }
        // Stripes decoded before the corruption are still turned into lines, so that how far
        // the reading gets does not depend on how far ahead the decoding was.
        if (decoded_ <= transformed_)
            return false;
        next = transformed_;
    }
    Stripe& stripe = ring_[static_cast<size_t>(next % Ahead)];
    stb_jpeg_rows_transform_stripe(rows_, stripe.blocks.data()->coefficients, stripe.units);
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++transformed_;
        wake = decoderWaits_;
    }
    if (wake)
        changed_.notify_all();
    return true;
}

bool JpegScanThread::TransformUpTo(int count)
{
    // Only this thread changes transformed_, so it may read it without the lock.
    while (transformed_ < count)
        if (!TransformNext())
            return false;
    return true;
}

bool JpegScanThread::Finish()
{
    if (!thread_.joinable()) {
        while (end_ == End::Open && decoded_ < stripes_ && DecodeNext()) {
        }
        if (end_ == End::Open)
            FinishFile();
    }
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return end_ != End::Open; });
    return end_ == End::Complete;
}

}  // namespace picture_codecs
