#include "web/page.h"

#include "game/tap.h"
#include "web/dom.h"

#include <optional>

namespace numora::web {

namespace {

constexpr int kClientWidth = kColumns * (kCellWidth + 1);                // 408
constexpr int kClientHeight = kBannerHeight + kRows * (kCellHeight + 1); // 502

std::optional<Arrow> ArrowOfKey(const std::string& key) {
    if (key == "ArrowLeft") return Arrow::Left;
    if (key == "ArrowUp") return Arrow::Up;
    if (key == "ArrowRight") return Arrow::Right;
    if (key == "ArrowDown") return Arrow::Down;
    return std::nullopt;
}

// Sets the text only when it changed: the page is synced at every tick, and a text set anew
// is laid out anew.
void Update(const val& element, std::string& shown, std::string_view want) {
    if (shown == want) return;
    SetText(element, want);
    shown = want;
}

int FigureBitmap(int set, int index) {
    return 200 + 10 * set + index;
}

val Picture(const val& parent, const std::string& id, int left, int top, int width, int height) {
    val img = Make("img", parent, id);
    img.set("alt", std::string()); // the pictures say nothing the texts do not
    img.set("draggable", false);
    img.set("width", width);
    img.set("height", height);
    Place(img, left, top, width, height);
    return img;
}

val Cell(const val& parent, const std::string& id, const char* className) {
    val cell = Make("div", parent, id);
    cell.set("className", className);
    Place(cell, 0, 0, kCellWidth, kCellHeight);
    return cell;
}

} // namespace

Page& CurrentPage() {
    static Page page;
    return page;
}

Page::Page()
    : game_(random_, *this),
      menus_([this](const std::string& id) { MenuChosen(id); }, [this] { FocusGame(); }),
      leaderboard_(sound_, [this] { FocusGame(); }), gravityTimer_([this] { GravityTick(); }),
      animationTimer_([this] { AnimationTick(); }), waitTimer_([this] { WaitOver(); }) {}

void Page::Build() {
    val window = Make("div", Document()["body"], "window");
    menus_.Build(window);
    BuildGame(window);
    help_.Build(window);
    leaderboard_.Build(window);
    Sync();

    // The arrows belong to the game wherever the focus is, except in the menus, the list's
    // name box and the open help.
    Listen(val::global("window"), "keydown", "numoraKeyDown");
    Listen(Document(), "pointerdown", "numoraPointerDownAnywhere", true);

    // Keeps every file of the site, so the next visit loads and plays offline. A browser
    // without workers (or a page not served from a secure origin) plays all the same.
    const val workers = val::global("navigator")["serviceWorker"];
    if (!workers.isUndefined())
        workers.call<val>("register", val("sw.js"))
            .call<val>("catch", val::module_property("numoraWorkerRefused"));
}

// The elements keep the object names of the game's first design ("LabRes_5", "Pict", ...),
// as the desktop's widgets do: scripts and tests find them by these names.
void Page::BuildGame(const val& parent) {
    client_ = Make("div", parent, "game");
    client_.set("tabIndex", -1);
    client_["style"].set("width", std::to_string(kClientWidth) + "px");
    client_["style"].set("height", std::to_string(kClientHeight) + "px");
    Listen(client_, "pointerdown", "numoraBoardPointerDown");

    // The stripes are the columns exactly as a tap counts them, each gap with the cell left
    // of it.
    for (int col = 1; col < kColumns; col += 2) {
        val stripe = Make("div", client_);
        stripe.set("className", "stripe");
        Place(stripe, CellLeft(col), kBannerHeight, kCellWidth + 1, kRows * (kCellHeight + 1));
    }
    // Cells first, so the falling pair, the figure and the splash lie above them.
    for (int k = 0; k < kCellCount; ++k) {
        boardCells_.push_back(Cell(client_, "LabRes_" + std::to_string(k), "cell"));
        Move(boardCells_.back(), CellLeft(k % kColumns), CellTop(k / kColumns));
    }
    for (int i = 0; i < 2; ++i)
        fallingCells_.push_back(Cell(client_, "LabB_" + std::to_string(i), "cell falling"));

    SetBitmap(Picture(client_, "Pict", 0, 0, kClientWidth, kBannerHeight), 101);
    bannerFigure_ = Picture(client_, "PicTboy", 2 * kCellWidth + 12, 0, 41, 41);
    for (int i = 0; i < 2; ++i) {
        previewCells_.push_back(Cell(client_, "LabBp_" + std::to_string(i), "cell preview"));
        Move(previewCells_.back(), 3 * kCellWidth + 3 + i * (kCellWidth + 1), 3);
    }
    score_ = Make("div", client_, "Label1");
    Place(score_, kCellWidth * (kColumns - 1) - 30, 5, 80, 27);

    walkingFigure_ = Picture(client_, "PicMove", 0, 0, 50, 50);
    splash_ = Picture(client_, "Picbg", 0, kBannerHeight, 405, 470);
    SetBitmap(splash_, 102);
}

// ---------------------------------------------------------------- what the player does

void Page::MenuChosen(const std::string& id) {
    if (id.starts_with("b1_"))
        ChooseMode(id.back() - '0');
    else if (id.size() == 2 && id[0] == 'j')
        ChooseLevel(id.back() - '0');
    else if (id == "dhy" || id == "dhw")
        ChooseAnimation(id == "dhy");
    else if (id == "Mhow")
        OpenHelp();
}

void Page::ChooseMode(int mode) {
    // A menu choice is the player's gesture that lets the browser start the sound.
    sound_.Wake();
    startingGame_ = true;
    game_.ChooseMode(mode);
    startingGame_ = false;
    Sync();
    FocusGame();
}

void Page::ChooseLevel(int level) {
    sound_.Wake();
    game_.ChooseLevel(level);
    Sync();
    FocusGame();
}

void Page::ChooseAnimation(bool on) {
    sound_.Wake();
    game_.ChooseAnimation(on);
    Sync();
    FocusGame();
}

void Page::OpenHelp() {
    const val corner = client_.call<val>("getBoundingClientRect");
    help_.Open(corner["left"].as<int>(), corner["top"].as<int>());
}

void Page::HelpClosed() {
    FocusGame();
}

void Page::PressArrow(Arrow arrow) {
    if (help_.open()) return;
    game_.Press(arrow);
    Sync();
}

// A tap is an arrow key only where the player sees the pair it moves: the keys still reach a
// pair hidden by a cascade's pause, but a finger on the board cannot aim at what is not there.
void Page::Tap(int x, int y) {
    if (help_.open() || !game_.pairVisible()) return;
    if (const auto arrow = ArrowForTap(game_.state().pair, x, y)) PressArrow(*arrow);
}

void Page::KeyDown(const val& event) {
    const auto arrow = ArrowOfKey(event["key"].as<std::string>());
    if (help_.open()) {
        // The page behind the help is shut, but the arrows must still not scroll it.
        if (arrow) event.call<void>("preventDefault");
        return;
    }
    if (menus_.KeyDown(event)) {
        event.call<void>("preventDefault");
        return;
    }
    // The list's name box keeps its keys (the arrows move its caret).
    if (!arrow || leaderboard_.Contains(event["target"])) return;
    // Shift, Ctrl and Alt make no difference; the arrows never scroll the page.
    event.call<void>("preventDefault");
    PressArrow(*arrow);
}

// A press, not a release, makes the move, so it comes at once, as a key's does. Only the
// first finger or the main button counts.
void Page::BoardPointerDown(const val& event) {
    if (!event["isPrimary"].as<bool>() || event["button"].as<int>() != 0) return;
    FocusGame();
    const val corner = client_.call<val>("getBoundingClientRect");
    const double x = event["clientX"].as<double>() - corner["left"].as<double>();
    const double y = event["clientY"].as<double>() - corner["top"].as<double>();
    Tap(static_cast<int>(x), static_cast<int>(y));
}

// A press that shuts an open menu does only that, as with the desktop's menus: it is no tap
// on the board beneath.
void Page::PointerDownAnywhere(const val& event) {
    if (menus_.PointerDownAnywhere(event)) event.call<void>("stopPropagation");
}

void Page::FocusGame() {
    val options = val::object();
    options.set("preventScroll", true);
    client_.call<void>("focus", options);
}

void Page::GravityTick() {
    game_.GravityTick();
    Sync();
}

void Page::AnimationTick() {
    game_.AnimationTick();
    Sync();
}

void Page::WaitOver() {
    game_.Resume(waitFollower_.armed);
    Sync();
}

// ---------------------------------------------------------------- game events

void Page::PlaySound(Sound sound) {
    sound_.Play(sound);
}

void Page::HandOverScore(int mode, std::int64_t score) {
    leaderboard_.ShowFor(mode, score, !startingGame_);
}

// ---------------------------------------------------------------- showing the state

void Page::SetUp(const Situation& situation) {
    game_.SetUp(situation);
    Sync();
}

void Page::Sync() {
    const GameState& s = game_.state();

    for (std::size_t k = 0; k < boardCells_.size(); ++k) {
        const CellLabel want = game_.cellLabel(static_cast<int>(k));
        const CellChange change = shown_[k].Show(want);
        const val& cell = boardCells_[k];
        if (change.caption) SetText(cell, want.caption);
        if (change.background) SetClass(cell, "marked", want.marked);
        if (change.visibility) SetShown(cell, want.visible);
    }

    const bool pairVisible = game_.pairVisible();
    for (std::size_t i = 0; i < 2; ++i) {
        Update(fallingCells_[i], shownFalling_[i], game_.pairCaption(i));
        Move(fallingCells_[i], CellLeft(s.pair.col[i]), CellTop(s.pair.row[i]));
        SetShown(fallingCells_[i], pairVisible);
        Update(previewCells_[i], shownPreview_[i], game_.previewCaption(i));
        SetShown(previewCells_[i], s.started);
    }
    Update(score_, shownScore_, game_.scoreCaption());
    SetShown(splash_, !s.started);
    SyncFigure();

    for (int mode = 1; mode <= kModeCount; ++mode)
        menus_.SetChecked("b1_" + std::to_string(mode), game_.checkedMode() == mode);
    for (int level = 1; level <= 3; ++level)
        menus_.SetChecked("j" + std::to_string(level), s.level == level);
    menus_.SetChecked("dhy", s.animationOn);
    menus_.SetChecked("dhw", !s.animationOn);

    SyncTimer(gravityTimer_, s.gravity, gravityFollower_);
    SyncTimer(animationTimer_, s.animation, animationFollower_);
    SyncWait();
}

void Page::SyncTimer(Timer& timer, const TimerState& state, TimerFollower& follower) {
    switch (follower.Follow(state, timer.active())) {
    case TimerMove::Stop:
        timer.Stop();
        break;
    case TimerMove::Start:
        timer.Start(state.interval, true);
        break;
    case TimerMove::Keep:
        break;
    }
}

void Page::SyncWait() {
    const Wait& wait = game_.waiting();
    switch (waitFollower_.Follow(wait, waitTimer_.active())) {
    case TimerMove::Stop:
        waitTimer_.Stop();
        break;
    case TimerMove::Start:
        // A waiting sound is timed by its own length, never by the browser's report of its
        // end: with no sound output, or before the player's first gesture, that report never
        // comes.
        waitTimer_.Start(
            wait.kind == Wait::Kind::Pause ? wait.ms : SoundService::DurationMs(wait.sound), false);
        break;
    case TimerMove::Keep:
        break;
    }
}

void Page::SyncFigure() {
    const GameState& s = game_.state();
    Move(walkingFigure_, s.walkingFigure.left, s.walkingFigure.top);
    const FigureFrame& frame = s.walkingFrame;
    if (frame.set >= 0 && frame != shownWalking_)
        SetBitmap(walkingFigure_, FigureBitmap(frame.set, frame.frame));
    shownWalking_ = frame;
    // Until the first animation tick draws a frame there is no picture to show, and an image
    // without one would show as an empty box (the desktop's picture box shows nothing).
    SetShown(walkingFigure_, s.walkingFigure.visible && frame.set >= 0);
    // Drawn only once shown: at the start the figure is hidden, and its picture would be one
    // more file to fetch before the page first shows.
    const int set = game_.figureSet();
    if (s.bannerFigureVisible && set != shownBannerSet_) {
        SetBitmap(bannerFigure_, FigureBitmap(set, 4));
        shownBannerSet_ = set;
    }
    SetShown(bannerFigure_, s.bannerFigureVisible);
}

} // namespace numora::web
