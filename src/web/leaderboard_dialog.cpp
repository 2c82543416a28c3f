#include "web/leaderboard_dialog.h"

#include "web/dom.h"
#include "web/storage.h"

namespace numora::web {

namespace {

constexpr int kRowTop = 80;
// Rows are 25 high but 24 apart, so their borders overlap by one pixel, as designed.
constexpr int kRowPitch = 24;
constexpr int kRowHeight = 25;

constexpr const char* kTitle = "排行榜";
constexpr const char* kCongratulation = "恭喜恭喜!您上榜了。您的大名:";
// In the heading's place, for as long as the dialog shows a list that could not be read.
constexpr const char* kUnreadableHeading = "排行榜读不出来，没有改动它。";
constexpr const char* kUnreadable = "浏览器里存的排行榜读不出来，这次的成绩不能保存。\n\n"
                                    "为了不丢掉上面的成绩，没有改动它。";
constexpr const char* kNoLongerPlaced =
    "很遗憾，就在刚才，另一个正在玩的游戏更新了排行榜，您的分数已经进不了前十名了。";

std::string Failed(const char* why) {
    return std::string("您的成绩没能保存。\n\n") + why +
           "\n您可以再点“确认”试一次，或者关掉这个窗口。";
}

} // namespace

LeaderboardDialog::LeaderboardDialog(SoundService& sound, std::function<void()> closed)
    : sound_(sound), closed_(std::move(closed)) {}

// The ids are the object names of the desktop's window, which scripts and tests use.
void LeaderboardDialog::Build(const val& parent) {
    dialog_ = MakeDialog(parent, "leaderboard", kTitle, "numoraLeaderboardClose",
                         "numoraLeaderboardClosed");

    val client = Make("div", dialog_);
    client.set("className", "client leaderboard");
    heading_ = Make("div", client, "Labt");
    Place(heading_, 24, 16, 217, 25);
    nameBox_ = Make("input", client, "Text1");
    nameBox_.set("type", "text");
    nameBox_.set("autocomplete", "off");
    nameBox_.call<void>("setAttribute", val("aria-labelledby"), val("Labt"));
    Place(nameBox_, 24, 40, 217, 25);
    Listen(nameBox_, "keydown", "numoraNameKeyDown");
    confirmButton_ = Make("button", client, "Command1");
    confirmButton_.set("type", "button");
    SetText(confirmButton_, "确认");
    Place(confirmButton_, 256, 40, 41, 25);
    Listen(confirmButton_, "click", "numoraLeaderboardConfirm");
    for (std::size_t k = 0; k < kTopTenSize; ++k) {
        const int top = kRowTop + kRowPitch * static_cast<int>(k);
        nameLabels_.push_back(Make("div", client, "Label1_" + std::to_string(k)));
        Place(nameLabels_[k], 24, top, 81, kRowHeight);
        scoreLabels_.push_back(Make("div", client, "Label2_" + std::to_string(k)));
        Place(scoreLabels_[k], 152, top, 89, kRowHeight);
    }

    // Said over the list, as the desktop's message box stands over its window; the game and
    // its timers go on meanwhile.
    message_ = Make("div", client, "leaderboardMessage");
    message_.call<void>("setAttribute", val("role"), val("alert"));
    messageText_ = Make("p", message_);
    messageOk_ = Make("button", message_, "leaderboardMessageOk");
    messageOk_.set("type", "button");
    SetText(messageOk_, "确定");
    Listen(messageOk_, "click", "numoraLeaderboardMessageRead");
    SetShown(message_, false);
}

bool LeaderboardDialog::Contains(const val& node) const {
    return Within(node, dialog_);
}

void LeaderboardDialog::ShowFor(int mode, std::int64_t score, bool takeKeyboard) {
    mode_ = mode;
    score_ = score;
    // Every opening starts from the design state, whatever the last game left on screen.
    SetShown(message_, false);
    nameBox_.set("value", std::string());

    const StoredText stored = ReadStored(StorageKey(mode));
    std::optional<StoredList> read;
    if (stored.status == StoredText::Status::Found) read = ParseList(stored.text);
    const bool unreadable = stored.status == StoredText::Status::Found && !read;
    list_ = read ? *read : StoredList{};
    if (stored.status == StoredText::Status::Nothing) {
        // Kept from now on, as the desktop creates its file: the next game's score must earn
        // its place on these entries. Storage that refuses it is said when a name is saved.
        Store(StorageKey(mode), FormatList(list_));
    }
    // A list that is not there (or that the browser will not give) is a fresh one, on which
    // the score is offered place 1 whatever it is; one that cannot be read takes no entry,
    // since saving would put a new list in place of entries no one has seen.
    if (unreadable)
        offeredPlace_ = -1;
    else if (read)
        offeredPlace_ = PlaceFor(list_, score);
    else
        offeredPlace_ = 0;
    SetOffering(offeredPlace_ >= 0);
    ShowList(!unreadable);
    sound_.Play(Sound::Milestone);

    // Opening a dialog moves the focus into it; a child steering the first pair of a new game
    // gets the keyboard straight back.
    val hadKeyboard = Document()["activeElement"];
    if (!dialog_["open"].as<bool>()) dialog_.call<void>("show");
    if (!takeKeyboard) {
        if (!hadKeyboard.isNull()) hadKeyboard.call<void>("focus");
    } else if (offeredPlace_ >= 0) {
        nameBox_.call<void>("focus");
    }
    if (unreadable) Say(kUnreadable, takeKeyboard);
}

void LeaderboardDialog::ShowList(bool read) {
    if (!read) SetText(heading_, kUnreadableHeading);
    for (std::size_t k = 0; k < kTopTenSize; ++k) {
        SetText(nameLabels_[k], read ? list_[k].name : std::string());
        SetText(scoreLabels_[k], read ? std::to_string(list_[k].score) : std::string());
        SetShown(nameLabels_[k], read);
        SetShown(scoreLabels_[k], read);
    }
}

void LeaderboardDialog::SetOffering(bool offering) {
    SetText(heading_, offering ? kCongratulation : kTitle);
    SetShown(nameBox_, offering);
    SetShown(confirmButton_, offering);
}

void LeaderboardDialog::Confirm() {
    const std::string typed = nameBox_["value"].as<std::string>();
    if (offeredPlace_ < 0 || typed.empty()) return;
    const std::string name = StorableName(typed);
    if (name.empty()) return;

    // The list as it is now: another tab of the game may have changed it meanwhile.
    const StoredText stored = ReadStored(StorageKey(mode_));
    StoredList now{};
    if (stored.status == StoredText::Status::Found) {
        const std::optional<StoredList> read = ParseList(stored.text);
        if (!read) {
            Say(Failed("存的排行榜读不出来，为了不丢掉上面的成绩，没有改动它。"));
            return;
        }
        now = *read;
    }
    // The offer stands while the list is the one the player was shown (so a fresh list gives
    // place 1 even to a score of 0); otherwise the place is found again, so no one else's
    // entry is lost.
    const int place = now == list_ ? offeredPlace_ : PlaceFor(now, score_);
    if (place < 0) {
        list_ = now;
        offeredPlace_ = -1;
        SetOffering(false);
        ShowList(true);
        Say(kNoLongerPlaced);
        return;
    }
    switch (Store(StorageKey(mode_), FormatList(WithEntry(now, place, NamedScore{name, score_})))) {
    case StoreStatus::Stored:
        // The offer is used up: a second click must not write the entry twice.
        offeredPlace_ = -1;
        Close();
        return;
    case StoreStatus::Full:
        Say(Failed("浏览器的存储空间已满。原来的排行榜没有改动。"));
        return;
    case StoreStatus::Refused:
        Say(Failed("这个浏览器不让网页保存数据（比如在隐私窗口里）。原来的排行榜没有改动。"));
        return;
    }
}

void LeaderboardDialog::Say(const std::string& text, bool takeKeyboard) {
    SetText(messageText_, text);
    SetShown(message_, true);
    // As a message box has the keyboard until it is read.
    if (takeKeyboard) messageOk_.call<void>("focus");
}

void LeaderboardDialog::MessageRead() {
    SetShown(message_, false);
    // Back to the name, when one is still asked for, so it can be confirmed again.
    if (offeredPlace_ >= 0) nameBox_.call<void>("focus");
}

void LeaderboardDialog::Close() {
    if (!dialog_["open"].as<bool>()) return;
    dialog_.call<void>("close");
    // At once, not only when the dialog's close event comes (it comes too, and changes nothing).
    Closed();
}

void LeaderboardDialog::Closed() {
    // A message about this opening means nothing once the dialog is gone.
    SetShown(message_, false);
    closed_();
}

} // namespace numora::web
