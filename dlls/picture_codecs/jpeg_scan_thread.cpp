#include "jpeg_scan_thread.h"

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
    std::lock_guard<std::mutex> lock(mutex_);
    if (units < 0) {
        end_ = End::Corrupt;
    } else {
        stripe.units = units;
        ++decoded_;
    }
    return units >= 0;
}

void JpegScanThread::FinishFile()
{
    const bool complete = stb_jpeg_rows_finish(rows_) != 0;
    std::lock_guard<std::mutex> lock(mutex_);
    end_ = complete ? End::Complete : End::Corrupt;
}

void JpegScanThread::Run()
{
    // Only this thread changes decoded_, so it may read it without the lock.
    while (decoded_ < stripes_) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return stop_ || decoded_ - transformed_ < Ahead; });
            if (stop_)
                return;
        }
        const bool decoded = DecodeNext();
        changed_.notify_all();
        if (!decoded)
            return;
    }
    FinishFile();
    changed_.notify_all();
}

bool JpegScanThread::TransformNext()
{
    if (!thread_.joinable() && (end_ == End::Corrupt || !DecodeNext()))
        return false;
    int next = 0;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return decoded_ > transformed_ || end_ == End::Corrupt; });
        if (end_ == End::Corrupt)
            return false;
        next = transformed_;
    }
    Stripe& stripe = ring_[static_cast<size_t>(next % Ahead)];
    stb_jpeg_rows_transform_stripe(rows_, stripe.blocks.data()->coefficients, stripe.units);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++transformed_;
    }
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
