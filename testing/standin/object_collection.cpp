// Windows-only.
#include "object_collection.h"

#include <utility>

#include "file_system_handle.h"

namespace standin {

ObjectCollection::ObjectCollection(std::vector<ComPtr<IUnknown>> items) : items_(std::move(items)) {}

bool ObjectCollection::Answers(REFIID iid) const {
    return IsOneOf(iid, __uuidof(ICoreWebView2ObjectCollectionView), __uuidof(ICoreWebView2ObjectCollection));
}

HRESULT ObjectCollection::get_Count(UINT32* value) {
    const auto count = static_cast<UINT32>(items_.size());
    return Answer<UINT32>("get_Count", value, count, count);
}

HRESULT ObjectCollection::GetValueAtIndex(UINT32 index, IUnknown** value) {
    Json line = Call("GetValueAtIndex");
    line["index"] = index;
    HRESULT hr = S_OK;
    if (value == nullptr) {
        hr = E_POINTER;
    } else if (index >= items_.size()) {
        *value = nullptr;
        hr = E_INVALIDARG;
    } else {
        *value = items_[index].get();
        if (*value != nullptr) (*value)->AddRef();
    }
    return Finish(std::move(line), hr);
}

HRESULT ObjectCollection::RemoveValueAtIndex(UINT32 index) {
    Json line = Call("RemoveValueAtIndex");
    line["index"] = index;
    const HRESULT hr = index < items_.size() ? S_OK : E_INVALIDARG;
    if (SUCCEEDED(hr)) items_.erase(items_.begin() + index);
    return Finish(std::move(line), hr);
}

HRESULT ObjectCollection::InsertValueAtIndex(UINT32 index, IUnknown* value) {
    Json line = Call("InsertValueAtIndex");
    line["index"] = index;
    line["value"] = DescribeCollectionItem(value);
    const HRESULT hr = index <= items_.size() ? S_OK : E_INVALIDARG;
    if (SUCCEEDED(hr)) items_.insert(items_.begin() + index, ComPtr<IUnknown>::Wrap(value));
    return Finish(std::move(line), hr);
}

Json DescribeCollectionItem(IUnknown* item) {
    if (item == nullptr) return nullptr;
    if (const FileSystemHandle* handle = FileSystemHandle::FromInterface(item)) {
        return handle->Describe();
    }
    return "other";
}

Json DescribeCollection(ICoreWebView2ObjectCollectionView* collection) {
    if (collection == nullptr) return nullptr;
    if (const ObjectCollection* own = ObjectCollection::FromInterface(collection)) {
        Json items = Json::array();
        for (const ComPtr<IUnknown>& item : own->items()) items.push_back(DescribeCollectionItem(item.get()));
        return items;
    }
    return "other";
}

}  // namespace standin
