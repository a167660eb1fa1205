// The component object model on the calling thread for the life of a scope.
#pragma once

namespace brevalo::os {

// Joins the calling thread to a single-threaded apartment, or keeps the one
// it already has, and leaves again at the end of the scope when it joined.
// A thread already in the multithreaded apartment stays there: COM is usable
// either way. Throws base::OsError when COM cannot be initialised at all.
class ComApartment {
public:
    ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment();

private:
    bool joined_ = false;
};

} // namespace brevalo::os
