#pragma once

#include <QIcon>
#include <QPainter>

#include <functional>

namespace kav {

// An icon drawn by code on a transparent square of the given size, antialiased, and drawn again
// for screens scaled up to three times.
QIcon paintedIcon(int size, const std::function<void(QPainter& painter)>& draw);

} // namespace kav
