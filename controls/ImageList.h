// A list of same-sized images (a system image list) that tells its
// subscribers when it changes and when it goes away, so that controls which
// refer to it repaint or drop the reference.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <vector>

namespace brevalo::controls {

class ImageList {
public:
    // Throws OsError when the list cannot be created.
    ImageList(int width, int height);
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;
    ~ImageList();

    HIMAGELIST Handle() const noexcept { return list_; }
    int Count() const noexcept;
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }

    // Adds the images of a bitmap as wide as a multiple of Width; pixels of
    // `transparent` are left out when drawn (CLR_NONE: none). Returns the
    // index of the first image added.
    int Add(HBITMAP images, COLORREF transparent = CLR_NONE);
    void Clear();
    void Draw(HDC dc, int index, int x, int y) const;

    enum class Change { Changed, Destroyed };
    using Subscriber = std::function<void(ImageList&, Change)>;
    int Subscribe(Subscriber subscriber);
    void Unsubscribe(int id) noexcept;

private:
    void Notify(Change change);

    HIMAGELIST list_ = nullptr;
    int width_;
    int height_;
    struct Entry {
        int id;
        Subscriber subscriber;
    };
    std::vector<Entry> subscribers_;
    int nextId_ = 1;
};

} // namespace brevalo::controls
