// Binding, blending, clearing, spans, rectangles and the blits of the rasterizer.
#include "gfx/Rasterizer.h"

#include <algorithm>
#include <cmath>

#include "gfx/CopyShader.h"
#include "gfx/PolygonEdges.h"
#include "gfx/RasterizerInternal.h"

namespace gfx {

Rasterizer::Rasterizer(Surface* target) : shader_(&CopyShader::shared()) {
    BindTarget(target);
}

Rasterizer::~Rasterizer() = default;

Surface* Rasterizer::BindTarget(Surface* target) {
    Surface* previous = target_;
    target_ = target && target->buffer ? target : nullptr;
    clip_ = target_ ? Rect{0, 0, target_->width(), target_->height()} : Rect{};
    return previous;
}

void Rasterizer::SetClip(const Rect& rect) {
    if (!target_) return;
    clip_ = rect.intersected({0, 0, target_->width(), target_->height()});
}

void Rasterizer::SetBlending(std::uint32_t alpha) {
    // 252..255 differ from opaque by less than the 5-bit weight resolves: draw opaque.
    if ((alpha | 3) == 255) {
        shader_ = &CopyShader::shared();
        return;
    }
    if (!alphaShader_) alphaShader_ = std::make_unique<AlphaShader>(alpha);
    alphaShader_->alpha = alpha;
    shader_ = alphaShader_.get();
}

void Rasterizer::ResetBlending() {
    shader_ = &CopyShader::shared();
}

void Rasterizer::Clear(Pixel colour) {
    if (target_) shader_->Clear(*target_->buffer, colour);
}

void Rasterizer::SetPixel(std::int32_t x, std::int32_t y, Pixel colour) {
    if (!target_) return;
    if (x < 0 || y < 0 || x >= target_->width() || y >= target_->height()) return;
    shader_->SetPixel(*target_->buffer, x, y, colour);
}

bool Rasterizer::ClipRect(Rect& rect) const {
    if (!target_) return false;
    rect = rect.intersected(clip_);
    return !rect.isEmpty();
}

void Rasterizer::DrawHLine(std::int32_t x, std::int32_t y, std::int32_t length, Pixel colour) {
    if (!target_ || y < clip_.top || y >= clip_.bottom) return;
    std::int64_t start = std::max<std::int64_t>(x, clip_.left);
    std::int64_t end = std::min<std::int64_t>(std::int64_t(x) + length, clip_.right);
    if (end - start < 1) return;
    shader_->HSpan(*target_->buffer, std::int32_t(start), y, std::int32_t(end - start), colour);
}

void Rasterizer::DrawVLine(std::int32_t x, std::int32_t y, std::int32_t length, Pixel colour) {
    if (!target_ || x < clip_.left || x >= clip_.right) return;
    std::int64_t start = std::max<std::int64_t>(y, clip_.top);
    std::int64_t end = std::min<std::int64_t>(std::int64_t(y) + length, clip_.bottom);
    if (end - start < 1) return;
    shader_->VSpan(*target_->buffer, x, std::int32_t(start), std::int32_t(end - start), colour);
}

void Rasterizer::FillRect(std::int32_t left, std::int32_t top, std::int32_t right,
                          std::int32_t bottom, Pixel colour) {
    Rect rect{left, top, right, bottom};
    if (ClipRect(rect)) shader_->FillRect(*target_->buffer, rect, colour);
}

void Rasterizer::Blit(std::int32_t x, std::int32_t y, const Surface* source,
                      const Rect* sourceRect) {
    if (!target_ || !source || !source->buffer) return;
    Rect full{0, 0, source->width(), source->height()};
    Rect from = sourceRect ? *sourceRect : full;
    // A source rect reaching beyond the source is cut to it, the destination moving along, so
    // that no pixel is read from outside the source.
    std::int64_t dx = std::int64_t(x) + std::max(0, full.left - from.left);
    std::int64_t dy = std::int64_t(y) + std::max(0, full.top - from.top);
    from = from.intersected(full);
    if (from.isEmpty()) return;
    std::int64_t left = std::max<std::int64_t>(dx, clip_.left);
    std::int64_t top = std::max<std::int64_t>(dy, clip_.top);
    std::int64_t right = std::min<std::int64_t>(dx + from.width(), clip_.right);
    std::int64_t bottom = std::min<std::int64_t>(dy + from.height(), clip_.bottom);
    if (right <= left || bottom <= top) return;
    Rect part{from.left + std::int32_t(left - dx), from.top + std::int32_t(top - dy), 0, 0};
    part.right = part.left + std::int32_t(right - left);
    part.bottom = part.top + std::int32_t(bottom - top);
    if (source->colourKey < 0)
        shader_->Blit(*target_->buffer, std::int32_t(left), std::int32_t(top), *source->buffer,
                      part);
    else
        shader_->BlitKeyed(*target_->buffer, std::int32_t(left), std::int32_t(top), *source->buffer,
                           part, Pixel(source->colourKey));
}

void Rasterizer::BlitStretch(const Rect& destination, const Surface* source,
                             const Rect* sourceRect) {
    if (!target_ || !source || !source->buffer) return;
    // Nothing to fill: also keeps the scale below from dividing by zero.
    if (destination.isEmpty()) return;
    Rect from = sourceRect ? *sourceRect : Rect{0, 0, source->width(), source->height()};
    // Unsigned throughout, as the scale is defined: sizes too large for 32 bits wrap.
    std::uint32_t du = ((std::uint32_t(from.right) - std::uint32_t(from.left)) << 10) /
                       (std::uint32_t(destination.right) - std::uint32_t(destination.left));
    std::uint32_t dv = ((std::uint32_t(from.bottom) - std::uint32_t(from.top)) << 10) /
                       (std::uint32_t(destination.bottom) - std::uint32_t(destination.top));
    Transform t;
    t.a = std::int32_t(du);
    t.d = std::int32_t(dv);
    t.e = std::int32_t(((std::uint32_t(from.left) << 10) - std::uint32_t(destination.left) * du)
                       << 6);
    t.f =
        std::int32_t(((std::uint32_t(from.top) << 10) - std::uint32_t(destination.top) * dv) << 6);
    // The transform maps any destination pixel, so the source needs no adjusting.
    Rect clipped = destination;
    if (!ClipRect(clipped)) return;
    if (source->colourKey < 0)
        shader_->BlitTransformed(*target_->buffer, clipped, t, *source->buffer);
    else
        shader_->BlitTransformedKeyed(*target_->buffer, clipped, t, *source->buffer,
                                      Pixel(source->colourKey));
}

void Rasterizer::BlitRotated(std::int32_t x, std::int32_t y, float angle, const Surface* source) {
    if (!target_ || !source || !source->buffer) return;
    std::int32_t width = source->width(), height = source->height();
    float hw = float(width) * 0.5f, hh = float(height) * 0.5f;
    std::int32_t r = std::int32_t(double(std::sqrt(hw * hw + hh * hh)) + 1.0);
    // The square of half-side 2r about the pivot holds every turned source pixel.
    std::int64_t half = 2 * std::int64_t(r);
    Rect square{internal::clampCoordinate(x - half), internal::clampCoordinate(y - half),
                internal::clampCoordinate(x + half), internal::clampCoordinate(y + half)};
    // Within the square only the turned picture's bounding box can take texels; a margin of
    // two pixels covers the fixed-point rounding, so the pixels drawn are the same.
    double cs = std::cos(double(angle)), sn = std::sin(double(angle));
    double cornersX[2] = {-width * 0.5, width * 0.5}, cornersY[2] = {-double(height), 0.0};
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (double ux : cornersX)
        for (double uy : cornersY) {
            double dx = cs * ux - sn * uy, dy = sn * ux + cs * uy;
            minX = std::min(minX, dx), maxX = std::max(maxX, dx);
            minY = std::min(minY, dy), maxY = std::max(maxY, dy);
        }
    Rect box{internal::clampCoordinate(x + std::int64_t(std::floor(minX)) - 2),
             internal::clampCoordinate(y + std::int64_t(std::floor(minY)) - 2),
             internal::clampCoordinate(x + std::int64_t(std::ceil(maxX)) + 3),
             internal::clampCoordinate(y + std::int64_t(std::ceil(maxY)) + 3)};
    square = square.intersected(box);
    if (!ClipRect(square)) return;
    std::int32_t C = std::int32_t(float(std::cos(double(angle))) * 1024.0f);
    std::int32_t S = std::int32_t(float(std::sin(double(angle))) * 1024.0f);
    std::uint32_t ux = std::uint32_t(x), uy = std::uint32_t(y);
    std::uint32_t uc = std::uint32_t(C), us = std::uint32_t(S);
    Transform t;
    t.a = C;
    t.b = -S;
    t.c = S;
    t.d = C;
    // The source point (width / 2, height), the middle of the bottom edge, lands on (x, y).
    t.e = std::int32_t(((std::uint32_t(width) << 9) - uc * ux - us * uy) << 6);
    t.f = std::int32_t((us * ux - uc * uy + (std::uint32_t(height) << 10)) << 6);
    if (source->colourKey < 0)
        shader_->BlitTransformed(*target_->buffer, square, t, *source->buffer);
    else
        shader_->BlitTransformedKeyed(*target_->buffer, square, t, *source->buffer,
                                      Pixel(source->colourKey));
}

}  // namespace gfx
