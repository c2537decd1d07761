// Windows-only.
#include "server/body_stream.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "util/com_object.h"

namespace {

class BodyStream final : public ComObject<IStream> {
public:
    BodyStream(std::shared_ptr<const void> owner, const uint8_t* data, uint64_t size, uint64_t position)
        : owner_(std::move(owner)), data_(data), size_(size), position_(position) {
        // The free-threaded marshaler hands the object itself to every apartment: the
        // runtime reads from its own threads without a round trip through the UI thread.
        CoCreateFreeThreadedMarshaler(static_cast<IStream*>(this), marshaler_.put());
    }

    // Agile: safe to call from any thread, so it says so and marshals as itself.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (iid == __uuidof(ISequentialStream)) return HandOut(static_cast<ISequentialStream*>(this), out);
        if (iid == __uuidof(IAgileObject)) return HandOut(static_cast<IStream*>(this), out);
        if (iid == __uuidof(IMarshal)) {
            *out = nullptr;
            return marshaler_ ? marshaler_->QueryInterface(iid, out) : E_NOINTERFACE;
        }
        return ComObject::QueryInterface(iid, out);
    }

    // A short count (S_FALSE) means the end was reached.
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG count, ULONG* done) override {
        if (done != nullptr) *done = 0;
        if (buffer == nullptr) return STG_E_INVALIDPOINTER;
        uint64_t at = 0;
        const uint64_t taken = Take(count, at);
        if (taken != 0) std::memcpy(buffer, data_ + at, static_cast<size_t>(taken));
        if (done != nullptr) *done = static_cast<ULONG>(taken);
        return taken == count ? S_OK : S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG* done) override {
        if (done != nullptr) *done = 0;
        return STG_E_ACCESSDENIED;
    }

    // A move from the start is unsigned; from the current place or the end it is
    // signed and may not go before the first byte. Past the end is allowed: reads
    // there give nothing.
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
        uint64_t target = 0;
        if (origin == STREAM_SEEK_SET) {
            target = static_cast<uint64_t>(move.QuadPart);
            position_.store(target);
        } else if (origin == STREAM_SEEK_CUR) {
            uint64_t at = position_.load();
            do {
                if (!Moved(at, move.QuadPart, target)) return STG_E_INVALIDFUNCTION;
            } while (!position_.compare_exchange_weak(at, target));
        } else if (origin == STREAM_SEEK_END) {
            if (!Moved(size_, move.QuadPart, target)) return STG_E_INVALIDFUNCTION;
            position_.store(target);
        } else {
            return STG_E_INVALIDFUNCTION;
        }
        if (newPosition != nullptr) newPosition->QuadPart = target;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }

    HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                     ULARGE_INTEGER* written) override {
        if (read != nullptr) read->QuadPart = 0;
        if (written != nullptr) written->QuadPart = 0;
        if (target == nullptr) return STG_E_INVALIDPOINTER;
        uint64_t at = 0;
        const uint64_t taken = Take(count.QuadPart, at);
        uint64_t copied = 0;
        HRESULT result = S_OK;
        while (copied < taken) {
            const auto piece = static_cast<ULONG>(std::min<uint64_t>(taken - copied, 1u << 30));
            ULONG put = 0;
            result = target->Write(data_ + at + copied, piece, &put);
            copied += put;
            if (FAILED(result) || put != piece) break;
        }
        // What the target did not take is left to be read again, unless another
        // thread has moved the position since: its move stands.
        uint64_t end = at + taken;
        if (copied != taken) position_.compare_exchange_strong(end, at + copied);
        if (read != nullptr) read->QuadPart = copied;
        if (written != nullptr) written->QuadPart = copied;
        return FAILED(result) ? result : S_OK;
    }

    // Not transacted: nothing to commit or revert.
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }

    // The stream has no name to give, with or without STATFLAG_NONAME.
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override {
        if (stat == nullptr) return STG_E_INVALIDPOINTER;
        if ((flags & ~DWORD{STATFLAG_NONAME | STATFLAG_NOOPEN}) != 0) return STG_E_INVALIDFLAG;
        *stat = STATSTG{};
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = size_;
        stat->grfMode = STGM_READ;
        return S_OK;
    }

    // Same bytes and owner, same position now, its own position from then on.
    HRESULT STDMETHODCALLTYPE Clone(IStream** copy) override {
        if (copy == nullptr) return STG_E_INVALIDPOINTER;
        *copy = new (std::nothrow) BodyStream(owner_, data_, size_, position_.load());
        return *copy != nullptr ? S_OK : E_OUTOFMEMORY;
    }

private:
    // Takes up to `count` bytes from the position in one step, so readers on two
    // threads never get the same bytes: the window starts at `at`; returns its size.
    uint64_t Take(uint64_t count, uint64_t& at) {
        at = position_.load();
        uint64_t taken = 0;
        do {
            taken = at < size_ ? std::min<uint64_t>(count, size_ - at) : 0;
        } while (!position_.compare_exchange_weak(at, at + taken));
        return taken;
    }

    static bool Moved(uint64_t from, int64_t move, uint64_t& target) {
        if (move < 0) {
            const uint64_t back = 0 - static_cast<uint64_t>(move);
            if (back > from) return false;
            target = from - back;
            return true;
        }
        const auto forward = static_cast<uint64_t>(move);
        if (forward > std::numeric_limits<uint64_t>::max() - from) return false;
        target = from + forward;
        return true;
    }

    const std::shared_ptr<const void> owner_;
    // Aggregated: it holds no reference to this object, so the stream still goes at its last Release.
    ComPtr<IUnknown> marshaler_;
    const uint8_t* const data_;
    const uint64_t size_;
    std::atomic<uint64_t> position_;
};

}  // namespace

ComPtr<IStream> MakeBodyStream(std::shared_ptr<const void> owner, const uint8_t* data, uint64_t size) {
    ComPtr<IStream> stream;
    stream.attach(new (std::nothrow) BodyStream(std::move(owner), data, size, 0));
    return stream;
}
