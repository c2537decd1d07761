// Windows-only. The collection of objects that travels with a posted message
// (ICoreWebView2ObjectCollection).
#pragma once

#include <vector>

#include "recorded_object.h"

namespace standin {

class ObjectCollection final : public RecordedObject<ObjectCollection, ICoreWebView2ObjectCollection> {
public:
    static constexpr char objectName[] = "ObjectCollection";
    explicit ObjectCollection(std::vector<ComPtr<IUnknown>> items);
    bool Answers(REFIID iid) const;

    HRESULT STDMETHODCALLTYPE get_Count(UINT32* value) override;
    HRESULT STDMETHODCALLTYPE GetValueAtIndex(UINT32 index, IUnknown** value) override;
    HRESULT STDMETHODCALLTYPE RemoveValueAtIndex(UINT32 index) override;
    HRESULT STDMETHODCALLTYPE InsertValueAtIndex(UINT32 index, IUnknown* value) override;

    const std::vector<ComPtr<IUnknown>>& items() const { return items_; }

private:
    std::vector<ComPtr<IUnknown>> items_;
};

// One slot for the transcript: null, a handle of ours described, or "other".
Json DescribeCollectionItem(IUnknown* item);
// Every slot of a collection the host passed, or null for none.
Json DescribeCollection(ICoreWebView2ObjectCollectionView* collection);

}  // namespace standin
