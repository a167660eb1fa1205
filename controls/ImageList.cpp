#include "ImageList.h"

#include "OsError.h"

#include <algorithm>

namespace brevalo::controls {

ImageList::ImageList(int width, int height) : width_(width), height_(height) {
    list_ = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 0, 4);
    if (!list_)
        base::RaiseLastOsError();
}

ImageList::~ImageList() {
    try {
        Notify(Change::Destroyed);
    } catch (...) {
        // Nothing may leave a destructor; the list goes anyway.
    }
    ImageList_Destroy(list_);
}

int ImageList::Count() const noexcept {
    return ImageList_GetImageCount(list_);
}

int ImageList::Add(HBITMAP images, COLORREF transparent) {
    const int index = transparent == CLR_NONE ? ImageList_Add(list_, images, nullptr)
                                              : ImageList_AddMasked(list_, images, transparent);
    if (index < 0)
        base::RaiseLastOsError();
    Notify(Change::Changed);
    return index;
}

void ImageList::Clear() {
    ImageList_RemoveAll(list_);
    Notify(Change::Changed);
}

void ImageList::Draw(HDC dc, int index, int x, int y) const {
    ImageList_Draw(list_, index, dc, x, y, ILD_NORMAL);
}

int ImageList::Subscribe(Subscriber subscriber) {
    const int id = nextId_++;
    subscribers_.push_back({id, std::move(subscriber)});
    return id;
}

void ImageList::Unsubscribe(int id) noexcept {
    std::erase_if(subscribers_, [id](const Entry& e) { return e.id == id; });
}

void ImageList::Notify(Change change) {
    // A subscriber may unsubscribe while being told.
    std::vector<int> ids;
    for (const Entry& e : subscribers_)
        ids.push_back(e.id);
    for (int id : ids) {
        auto it = std::find_if(subscribers_.begin(), subscribers_.end(),
                               [id](const Entry& e) { return e.id == id; });
        if (it != subscribers_.end()) {
            Subscriber subscriber = it->subscriber;
            subscriber(*this, change);
        }
    }
}

} // namespace brevalo::controls
