// Composing the control tree.
#include "platform/sdl/scene_renderer.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/controls/list_controls.h"
#include "platform/game_error.h"
#include "platform/log.h"
#include "platform/sdl/text_renderer.h"

namespace taviro::platform {

struct SceneRenderer::Clip {
    Rect area;  // window pixels everything must stay in
};

namespace {

Rect Intersect(const Rect& a, const Rect& b) {
    int left = std::max(a.x, b.x), top = std::max(a.y, b.y);
    int right = std::min(a.x + a.width, b.x + b.width), bottom = std::min(a.y + a.height, b.y + b.height);
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

SDL_Rect ToSdl(const Rect& r) { return {r.x, r.y, r.width, r.height}; }

// True when some pixel of an ARGB8888 surface lets what is behind show through.
bool HasTranslucentPixels(SDL_Surface* surface) {
    for (int y = 0; y < surface->h; ++y) {
        auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) +
                                                      y * surface->pitch);
        for (int x = 0; x < surface->w; ++x)
            if ((row[x] >> 24) != 0xFF) return true;
    }
    return false;
}

// The frame of an animation to show at a time: animations loop over the sum of their delays.
size_t FrameAt(const Picture& picture, int64_t nowMs) {
    if (!picture.animated()) return 0;
    int64_t total = 0;
    for (const auto& frame : picture.frames()) total += std::max(frame.delayMs, 10);
    int64_t at = nowMs % total;
    for (size_t i = 0; i < picture.frames().size(); ++i) {
        at -= std::max(picture.frames()[i].delayMs, 10);
        if (at < 0) return i;
    }
    return 0;
}

}  // namespace

SceneRenderer::SceneRenderer(SDL_Renderer* renderer, PictureCache& pictures, const Clock& clock,
                             TextRenderer* text)
    : renderer_(renderer), pictures_(pictures), clock_(clock), text_(text) {}

SceneRenderer::~SceneRenderer() {
    for (auto& [surface, cached] : textures_) SDL_DestroyTexture(cached.texture);
    for (auto& [id, canvas] : canvases_) SDL_DestroyTexture(canvas.texture);
}

void SceneRenderer::DrawCanvas(const Canvas& canvas, const Rect& bounds) {
    if (canvas.width() == 0 || canvas.height() == 0) return;
    CanvasTexture& cached = canvases_[canvas.id()];
    cached.used = true;
    if (cached.texture && (cached.width != canvas.width() || cached.height != canvas.height())) {
        SDL_DestroyTexture(cached.texture);
        cached = {0, nullptr, 0, 0, true};
    }
    if (!cached.texture) {
        cached.texture = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                           canvas.width(), canvas.height());
        if (!cached.texture) return log::Error(std::string("cannot make a texture: ") + SDL_GetError());
        SDL_SetTextureBlendMode(cached.texture, SDL_BLENDMODE_BLEND);
        cached.width = canvas.width();
        cached.height = canvas.height();
    }
    if (cached.revision != canvas.revision()) {
        PixelView view = canvas.view();
        SDL_UpdateTexture(cached.texture, nullptr, view.pixels, view.pitchPixels * 4);
        cached.revision = canvas.revision();
    }
    // An opaque canvas (a transition's stage) is copied: the software renderer copies much faster.
    SDL_SetTextureBlendMode(cached.texture, canvas.opaque() ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_Rect target{bounds.x, bounds.y, canvas.width(), canvas.height()};
    SDL_RenderCopy(renderer_, cached.texture, nullptr, &target);
}

SDL_Texture* SceneRenderer::TextureOf(const std::shared_ptr<SDL_Surface>& surface, bool opaque) {
    if (!surface) return nullptr;
    if (auto it = textures_.find(surface.get()); it != textures_.end()) return it->second.texture;
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer_, surface.get());
    if (!texture) {
        log::Error(std::string("cannot make a texture: ") + SDL_GetError());
        return nullptr;
    }
    // Opaque pictures are copied rather than blended: the software renderer copies several times faster.
    bool blend = !opaque &&
                 (surface->format->format != SDL_PIXELFORMAT_ARGB8888 || HasTranslucentPixels(surface.get()));
    SDL_SetTextureBlendMode(texture, blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    textures_[surface.get()] = {surface, texture};
    return texture;
}

SDL_Texture* SceneRenderer::StreamedTexture(const Picture& picture, size_t frame) {
    std::shared_ptr<SDL_Surface> surface = picture.frameSurface(frame);
    SDL_Texture* texture = TextureOf(surface, false);
    if (!texture) return nullptr;
    // One surface holds every frame in turn: the texture follows when it has changed.
    uint64_t& shown = streamedRevisions_[surface.get()];
    if (shown != picture.revision()) {
        SDL_UpdateTexture(texture, nullptr, surface->pixels, surface->pitch);
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
        shown = picture.revision();
    }
    return texture;
}

std::shared_ptr<const Picture> SceneRenderer::PictureOf(const std::string& gamePath) {
    if (gamePath.empty() || failedPictures_.count(gamePath)) return nullptr;
    try {
        return pictures_.Load(gamePath);
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        // Reported where the picture was loaded; drawing leaves it out without asking every frame.
        failedPictures_.insert(gamePath);
        return nullptr;
    }
}

bool SceneRenderer::PrepareDecodedAhead(PicturePreloader& preloader, std::chrono::microseconds budget) {
    const auto end = std::chrono::steady_clock::now() + budget;
    do {
        std::shared_ptr<const Picture> picture = preloader.NextToPrepare();
        if (!picture) return false;
        for (const auto& frame : picture->frames()) TextureOf(frame.surface, frame.opaque);
    } while (std::chrono::steady_clock::now() < end);
    return true;
}

void SceneRenderer::Trim() {
    std::erase_if(textures_, [this](auto& entry) {
        if (entry.second.surface.use_count() > 1) return false;
        streamedRevisions_.erase(entry.first);
        SDL_DestroyTexture(entry.second.texture);
        return true;
    });
}

void SceneRenderer::Fill(const Rect& area, uint32_t colorBgr) {
    SDL_SetRenderDrawColor(renderer_, colorBgr & 0xFF, (colorBgr >> 8) & 0xFF, (colorBgr >> 16) & 0xFF, 255);
    // An opaque colour replaces what is there: without blending the software renderer just fills.
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
    SDL_GetRenderDrawBlendMode(renderer_, &blend);
    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
    SDL_Rect r = ToSdl(area);
    SDL_RenderFillRect(renderer_, &r);
    SDL_SetRenderDrawBlendMode(renderer_, blend);
}

void SceneRenderer::DrawPicture(const std::string& gamePath, const Rect& area, bool stretch,
                                int64_t animationMs) {
    auto picture = PictureOf(gamePath);
    if (!picture) return;
    const size_t index = FrameAt(*picture, animationMs >= 0 ? animationMs : clock_.NowMs());
    const auto& frame = picture->frames()[index];
    SDL_Texture* texture =
        picture->streamed() ? StreamedTexture(*picture, index) : TextureOf(frame.surface, frame.opaque);
    if (!texture) return;
    SDL_Rect target = stretch ? ToSdl(area) : SDL_Rect{area.x, area.y, picture->width(), picture->height()};
    SDL_RenderCopy(renderer_, texture, nullptr, &target);
}

bool SceneRenderer::CoveredByOpaquePicture(const std::string& gamePath, const Rect& area) {
    auto picture = PictureOf(gamePath);
    if (!picture || picture->animated() || picture->width() < area.width || picture->height() < area.height)
        return false;
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
    SDL_GetTextureBlendMode(TextureOf(picture->frames()[0].surface, picture->frames()[0].opaque), &blend);
    return blend == SDL_BLENDMODE_NONE;
}

bool SceneRenderer::CoveredByOpaqueChild(const Control& control, const Rect& area) {
    for (const auto& child : control.children()) {
        if (!child->visible()) continue;
        Rect bounds = child->WindowBounds();
        bounds.x += origin_.x;
        bounds.y += origin_.y;
        if (Intersect(bounds, area) != area) continue;
        switch (child->kind()) {
            case ControlKind::PictureBox: return true;
            case ControlKind::Container:
                if (!static_cast<const Container&>(*child).transparent) return true;
                break;
            case ControlKind::Label:
                if (!static_cast<const Label&>(*child).transparent) return true;
                break;
            case ControlKind::Image:
                if (CoveredByOpaquePicture(static_cast<const ImageControl&>(*child).picture, bounds))
                    return true;
                break;
            default: break;
        }
    }
    return false;
}

void SceneRenderer::DrawDragImage(const Control& source, Point at) {
    if (source.dragIcon().empty()) return;
    const Rect& bounds = source.bounds();
    SDL_RenderSetClipRect(renderer_, nullptr);
    DrawPicture(source.dragIcon(),
                {at.x - bounds.width / 2, at.y - bounds.height / 2, bounds.width, bounds.height}, true);
}

void SceneRenderer::Draw(const Form& form, Point origin) {
    origin_ = origin;
    Rect all{origin.x, origin.y, form.bounds().width, form.bounds().height};
    SDL_RenderSetClipRect(renderer_, nullptr);
    if (!CoveredByOpaquePicture(form.picture, all) && !CoveredByOpaqueChild(form, all))
        Fill(all, form.backColor);
    DrawPicture(form.picture, all, false);
    for (auto& [id, canvas] : canvases_) canvas.used = false;
    for (const auto& child : form.children()) DrawControl(*child, Clip{all});
    if (const ComboBox* open = OpenComboBox(static_cast<const Control&>(form))) DrawDropDown(*open);
    SDL_RenderSetClipRect(renderer_, nullptr);
    // Canvases not drawn this frame belong to boxes that are hidden or gone.
    std::erase_if(canvases_, [](auto& entry) {
        if (entry.second.used) return false;
        SDL_DestroyTexture(entry.second.texture);
        return true;
    });
}

void SceneRenderer::DrawCheckBox(const CheckBox& box, const Rect& bounds) {
    Fill(bounds, box.backColor);
    // A classic 13-pixel box, centred on the control's height, with a tick of two strokes.
    constexpr int kSide = 13;
    Rect square{bounds.x, bounds.y + std::max(0, (bounds.height - kSide) / 2), kSide, kSide};
    Fill(square, kWhite);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_Rect r = ToSdl(square);
    SDL_RenderDrawRect(renderer_, &r);
    if (box.value != 1) return;
    for (int thick = 0; thick < 2; ++thick) {
        int y = square.y + 6 + thick;
        SDL_RenderDrawLine(renderer_, square.x + 3, y, square.x + 5, y + 2);
        SDL_RenderDrawLine(renderer_, square.x + 5, y + 2, square.x + 9, y - 2);
    }
}

void SceneRenderer::DrawTextBox(const TextBox& box, const Rect& bounds) {
    Fill(bounds, box.backColor);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_Rect outline = ToSdl(bounds);
    SDL_RenderDrawRect(renderer_, &outline);
    // The text one pixel in from the border at the left, centred on the height; the caret after it.
    Label shown(box.name());
    shown.caption = box.DisplayText();
    shown.font = box.font;
    shown.foreColor = box.foreColor;
    shown.transparent = true;
    Rect inside{bounds.x + 3, bounds.y + 2, std::max(0, bounds.width - 6), std::max(0, bounds.height - 4)};
    if (text_) text_->DrawLabel(shown, inside);
    if (!box.hasFocus) return;
    const Control* root = &box;
    while (root->parent()) root = root->parent();
    TextMeasurer* measurer =
        root->kind() == ControlKind::Form ? static_cast<const Form*>(root)->textMeasurer() : nullptr;
    std::string shownBefore = TextBox::Prefix(shown.caption, box.caret());
    int caretX =
        inside.x + (measurer && !shownBefore.empty() ? measurer->Measure(shownBefore, box.font, 0).x : 0);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderDrawLine(renderer_, caretX, inside.y, caretX, inside.y + inside.height - 1);
}

void SceneRenderer::DrawOptionButton(const OptionButton& button, const Rect& bounds) {
    Fill(bounds, button.backColor);
    // A 12-pixel white circle with a black rim, centred on the control's height; a black dot when set.
    constexpr int kRadius = 6;
    const int centreX = bounds.x + kRadius, centreY = bounds.y + bounds.height / 2;
    for (int dy = -kRadius; dy <= kRadius; ++dy) {
        for (int dx = -kRadius; dx <= kRadius; ++dx) {
            int distance = dx * dx + dy * dy;
            if (distance > kRadius * kRadius) continue;
            bool rim = distance > (kRadius - 1) * (kRadius - 1);
            bool dot = button.value() && distance <= 4 + 1;
            int shade = rim || dot ? 0 : 255;
            SDL_SetRenderDrawColor(renderer_, shade, shade, shade, 255);
            SDL_RenderDrawPoint(renderer_, centreX + dx, centreY + dy);
        }
    }
}

void SceneRenderer::DrawScrollBar(const ScrollBar& bar, const Rect& bounds) {
    // A light track, a raised box at each end and the raised thumb.
    Fill(bounds, 0xE0E0E0);
    const bool vertical = bar.vertical();
    const int side = vertical ? bounds.width : bounds.height;
    const int length = vertical ? bounds.height : bounds.width;
    auto along = [&](int start, int size) {
        return vertical ? Rect{bounds.x, bounds.y + start, side, size}
                        : Rect{bounds.x + start, bounds.y, size, side};
    };
    auto [thumbStart, thumbLength] = bar.Thumb();
    constexpr int kArrowSide = ScrollBar::kArrowSide;
    for (Rect box :
         {along(0, kArrowSide), along(length - kArrowSide, kArrowSide), along(thumbStart, thumbLength)}) {
        Fill(box, kButtonFace);
        DrawRaisedEdge(box);
    }
}

void SceneRenderer::DrawListBox(const ListBox& list, const Rect& area) {
    Fill(area, list.backColor);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_Rect outline = ToSdl(area);
    SDL_RenderDrawRect(renderer_, &outline);
    if (text_) text_->DrawList(list, area);
    ListBox::Layout layout = list.LayoutIn(area);
    if (!layout.scrollBar) return;
    // The bar a scroll bar control of the same size and range would show.
    ScrollBar bar(true, list.name());
    bar.SetBounds({0, 0, layout.scrollBar->width, layout.scrollBar->height});
    bar.maximum = layout.maxTopIndex;
    bar.SetValue(std::min(list.topIndex(), layout.maxTopIndex));
    DrawScrollBar(bar, *layout.scrollBar);
}

void SceneRenderer::DrawComboBox(const ComboBox& box, const Rect& bounds) {
    Fill(bounds, box.backColor);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_Rect outline = ToSdl(bounds);
    SDL_RenderDrawRect(renderer_, &outline);
    Rect button = box.ButtonBounds();
    button.x += bounds.x;
    button.y += bounds.y;
    // The text left of the button, centred on the height.
    Label shown(box.name());
    shown.caption = box.text();
    shown.font = box.font;
    shown.foreColor = box.foreColor;
    shown.transparent = true;
    int textHeight = box.RowHeight();
    Rect inside{bounds.x + 3, bounds.y + std::max(0, (bounds.height - textHeight) / 2),
                std::max(0, button.x - bounds.x - 4), textHeight};
    // The button drawn next covers a text too long for the field.
    if (text_) text_->DrawLabel(shown, inside);
    Fill(button, kButtonFace);
    DrawRaisedEdge(button);
    // A small black triangle pointing down in the middle of the button.
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    const int centreX = button.x + button.width / 2, top = button.y + button.height / 2 - 2;
    for (int row = 0; row < 4; ++row)
        SDL_RenderDrawLine(renderer_, centreX - 3 + row, top + row, centreX + 3 - row, top + row);
}

void SceneRenderer::DrawDropDown(const ComboBox& box) {
    const Control* outermost = &box;
    while (outermost->parent() && outermost->parent()->parent()) outermost = outermost->parent();
    Rect scene = outermost->WindowBounds();
    scene.x += origin_.x;
    scene.y += origin_.y;
    Rect list = box.DropDownBounds();
    list.x += origin_.x;
    list.y += origin_.y;
    Rect clip = Intersect(list, scene);
    if (clip.width == 0 || clip.height == 0) return;
    SDL_Rect sdlClip = ToSdl(clip);
    SDL_RenderSetClipRect(renderer_, &sdlClip);
    DrawListBox(box, list);
}

void SceneRenderer::DrawShape(const ShapeControl& shape, const Rect& bounds) {
    Rect figure = shape.Figure();
    figure.x += bounds.x;
    figure.y += bounds.y;
    // Each row of the figure: the span inside it, and the span inside its border.
    auto span = [&](int row, int inset) -> std::pair<int, int> {
        Rect inner{figure.x + inset, figure.y + inset, figure.width - 2 * inset, figure.height - 2 * inset};
        if (row < inner.y || row >= inner.y + inner.height || inner.width <= 0) return {0, 0};
        if (!shape.Round()) return {inner.x, inner.width};
        double radiusX = inner.width / 2.0, radiusY = inner.height / 2.0;
        double dy = (row + 0.5 - inner.y - radiusY) / radiusY;
        int half = static_cast<int>(radiusX * std::sqrt(std::max(0.0, 1.0 - dy * dy)) + 0.5);
        int centre = inner.x + inner.width / 2;
        return {centre - half, 2 * half};
    };
    const int border = shape.borderStyle == 0 ? 0 : shape.borderWidth;
    for (int row = figure.y; row < figure.y + figure.height; ++row) {
        auto [outerX, outerWidth] = span(row, 0);
        auto [innerX, innerWidth] = span(row, border);
        if (outerWidth == 0) continue;
        bool filled = shape.fillStyle == 0 || shape.opaque;
        if (filled && innerWidth > 0)
            Fill({innerX, row, innerWidth, 1}, shape.fillStyle == 0 ? shape.fillColor : shape.backColor);
        if (border == 0) continue;
        if (innerWidth == 0) {
            Fill({outerX, row, outerWidth, 1}, shape.borderColor);
        } else {
            Fill({outerX, row, innerX - outerX, 1}, shape.borderColor);
            Fill({innerX + innerWidth, row, outerX + outerWidth - innerX - innerWidth, 1}, shape.borderColor);
        }
    }
}

void SceneRenderer::DrawLine(const LineControl& line) {
    // The ends are points of the container; the line is drawn as thick as its border width.
    Point origin{origin_.x, origin_.y};
    if (const Control* container = line.parent()) {
        Rect area = container->WindowBounds();
        origin = {origin.x + area.x, origin.y + area.y};
    }
    ColorBgr color = line.borderColor;
    SDL_SetRenderDrawColor(renderer_, color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF, 255);
    for (int thick = 0; thick < line.borderWidth; ++thick) {
        int offset = thick - line.borderWidth / 2;
        bool steep = std::abs(line.end().y - line.start().y) > std::abs(line.end().x - line.start().x);
        int dx = steep ? offset : 0, dy = steep ? 0 : offset;
        SDL_RenderDrawLine(renderer_, origin.x + line.start().x + dx, origin.y + line.start().y + dy,
                           origin.x + line.end().x + dx, origin.y + line.end().y + dy);
    }
}

void SceneRenderer::DrawRaisedEdge(const Rect& bounds) {
    // A classic button: white above and left, dark grey below and right, a black outline.
    const int right = bounds.x + bounds.width - 1, bottom = bounds.y + bounds.height - 1;
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_Rect outline = ToSdl(bounds);
    SDL_RenderDrawRect(renderer_, &outline);
    SDL_SetRenderDrawColor(renderer_, 255, 255, 255, 255);
    SDL_RenderDrawLine(renderer_, bounds.x + 1, bounds.y + 1, right - 1, bounds.y + 1);
    SDL_RenderDrawLine(renderer_, bounds.x + 1, bounds.y + 1, bounds.x + 1, bottom - 1);
    SDL_SetRenderDrawColor(renderer_, 128, 128, 128, 255);
    SDL_RenderDrawLine(renderer_, bounds.x + 1, bottom - 1, right - 1, bottom - 1);
    SDL_RenderDrawLine(renderer_, right - 1, bounds.y + 1, right - 1, bottom - 1);
}

void SceneRenderer::DrawControlAt(const Control& control, Point origin) {
    const Rect bounds = control.WindowBounds();
    origin_ = {origin.x - bounds.x, origin.y - bounds.y};
    DrawControl(control, Clip{{origin.x, origin.y, bounds.width, bounds.height}}, true);
    SDL_RenderSetClipRect(renderer_, nullptr);
}

void SceneRenderer::DrawControl(const Control& control, const Clip& parentClip, bool evenHidden) {
    if ((!control.visible() && !evenHidden) || control.kind() == ControlKind::Timer) return;
    Rect bounds = control.WindowBounds();
    bounds.x += origin_.x;
    bounds.y += origin_.y;
    Clip clip{Intersect(bounds, parentClip.area)};
    if (clip.area.width == 0 || clip.area.height == 0) return;
    SDL_Rect sdlClip = ToSdl(clip.area);
    SDL_RenderSetClipRect(renderer_, &sdlClip);
    switch (control.kind()) {
        case ControlKind::PictureBox: {
            auto& box = static_cast<const PictureBox&>(control);
            if (!CoveredByOpaquePicture(box.picture, bounds) && !CoveredByOpaqueChild(box, clip.area))
                Fill(bounds, box.backColor);
            DrawPicture(box.picture, bounds, false);
            if (const Canvas* canvas = box.canvasIfAny(); canvas && !canvas->blank())
                DrawCanvas(*canvas, bounds);
            if (box.borderStyle == 1) {
                SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
                SDL_Rect r = ToSdl(bounds);
                SDL_RenderDrawRect(renderer_, &r);
            }
            break;
        }
        case ControlKind::Image: {
            auto& image = static_cast<const ImageControl&>(control);
            auto animationMs = static_cast<int64_t>(
                static_cast<double>(clock_.NowMs() - image.animationStartMs) * image.animationRate);
            if (image.animationHeldMs >= 0) animationMs = image.animationHeldMs;
            DrawPicture(image.picture, bounds, image.stretch, std::max<int64_t>(animationMs, 0));
            break;
        }
        case ControlKind::Label: {
            auto& label = static_cast<const Label&>(control);
            if (!label.transparent) Fill(bounds, label.backColor);
            if (text_) text_->DrawLabel(label, bounds);
            break;
        }
        case ControlKind::CommandButton: {
            auto& button = static_cast<const CommandButton&>(control);
            Fill(bounds, button.backColor);
            DrawRaisedEdge(bounds);
            if (text_) text_->DrawLabel(button, bounds);
            break;
        }
        case ControlKind::Container: {
            auto& container = static_cast<const Container&>(control);
            if (!container.transparent) Fill(bounds, container.backColor);
            break;
        }
        case ControlKind::ListBox:
        case ControlKind::FileListBox:
        case ControlKind::DirListBox:
        case ControlKind::DriveListBox: DrawListBox(static_cast<const ListBox&>(control), bounds); break;
        case ControlKind::ComboBox: DrawComboBox(static_cast<const ComboBox&>(control), bounds); break;
        case ControlKind::CheckBox: DrawCheckBox(static_cast<const CheckBox&>(control), bounds); break;
        case ControlKind::TextBox: DrawTextBox(static_cast<const TextBox&>(control), bounds); break;
        case ControlKind::OptionButton:
            DrawOptionButton(static_cast<const OptionButton&>(control), bounds);
            break;
        case ControlKind::HScrollBar:
        case ControlKind::VScrollBar: DrawScrollBar(static_cast<const ScrollBar&>(control), bounds); break;
        case ControlKind::Shape: DrawShape(static_cast<const ShapeControl&>(control), bounds); break;
        case ControlKind::Line: DrawLine(static_cast<const LineControl&>(control)); break;
        case ControlKind::Form:
        case ControlKind::Timer: break;
    }
    for (const auto& child : control.children()) DrawControl(*child, clip);
}

}  // namespace taviro::platform
