#pragma once
// Helpers of the drawing tests: outside tools run on our files, and ink
// found in pictures.
#include <QImage>
#include <QRect>

#include <array>
#include <cstdio>
#include <string>

namespace bvtest {

// Runs a shell command; its standard output (and error, when asked).
inline std::string RunCommand(const std::string& command, int* exitCode = nullptr)
{
    std::string output;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), n);
    int status = ::pclose(pipe);
    if (exitCode != nullptr)
        *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

// A pixel counts as ink when it is darker than mid grey.
inline bool IsInk(const QImage& image, int x, int y)
{
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return false;
    return qGray(image.pixel(x, y)) < 128;
}

// The smallest rectangle holding all ink in [left, right) x [top, bottom);
// a null QRect when there is none.
inline QRect InkBox(const QImage& image, int left, int top, int right, int bottom)
{
    QRect box;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (IsInk(image, x, y))
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

inline bool AnyInk(const QImage& image, int left, int top, int right, int bottom)
{
    return !InkBox(image, left, top, right, bottom).isNull();
}

}  // namespace bvtest
