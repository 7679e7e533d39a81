#include "core/replay_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace quillory {
namespace {

constexpr std::array<std::uint8_t, 4> kMagic{'Q', 'R', 'P', 'L'};

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr auto kCrcTable = MakeCrcTable();

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Reads forward through bytes it never leaves: a read that does not fit
// fails, and so does every read after it.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Left() const { return bytes_.size() - at_; }
    std::size_t At() const { return at_; }
    bool Ok() const { return ok_; }

    std::span<const std::uint8_t> Take(std::size_t size) {
        if (!ok_ || size > Left()) {
            ok_ = false;
            return {};
        }
        const auto taken = bytes_.subspan(at_, size);
        at_ += size;
        return taken;
    }
    std::uint32_t U32() {
        const auto bytes = Take(4);
        if (bytes.empty()) return 0;
        return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

// One body whose checksum held; false for contents no game can have.
bool ReadBody(std::span<const std::uint8_t> body, KeptReplay& replay) {
    ByteReader in(body);
    const auto row = in.Take(sizeof replay.Row);
    if (row.empty()) return false;
    std::memcpy(&replay.Row, row.data(), sizeof replay.Row);
    GameRecord& game = replay.Game;
    game.FinalScore = replay.Row.Points;
    game.StartLevel = in.I32();
    game.Ticks = in.U32();
    const std::uint32_t seeds = in.U32();
    const std::uint32_t changes = in.U32();
    if (game.Ticks > kMaxRecordTicks || seeds > kMaxRecordSeeds ||
        changes > kMaxRecordLevelChanges ||
        in.Left() != 4 * std::size_t{seeds} + 8 * std::size_t{changes} + MoveBytes(game.Ticks))
        return false;
    game.Seeds.resize(seeds);
    for (std::uint32_t& seed : game.Seeds) seed = in.U32();
    game.LevelChanges.resize(changes);
    for (LevelChange& change : game.LevelChanges) {
        change.Tick = in.U32();
        change.Level = in.I32();
    }
    const auto moves = in.Take(MoveBytes(game.Ticks));
    game.Moves.assign(moves.begin(), moves.end());
    return in.Ok() && RecordWellFormed(game);
}

}  // namespace

std::string ReplayPathBeside(const std::string& scorePath) {
    const std::size_t slash = scorePath.find_last_of("/\\:");
    return (slash == std::string::npos ? std::string() : scorePath.substr(0, slash + 1)) +
           kReplayFileName;
}

bool SameRow(const ScoreEntry& a, const ScoreEntry& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::uint8_t byte : bytes) c = kCrcTable[(c ^ byte) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::vector<std::uint8_t> ReplayImage(const std::vector<KeptReplay>& replays) {
    std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
    PutU32(out, kReplayFormatVersion);
    for (const KeptReplay& replay : replays) {
        const GameRecord& game = replay.Game;
        if (!RecordWellFormed(game)) continue;
        const std::size_t start = out.size();
        const std::size_t bodyBytes = kReplayFixedBodyBytes + 4 * game.Seeds.size() +
                                      8 * game.LevelChanges.size() + game.Moves.size();
        PutU32(out, static_cast<std::uint32_t>(bodyBytes));
        const auto* row = reinterpret_cast<const std::uint8_t*>(&replay.Row);
        out.insert(out.end(), row, row + sizeof replay.Row);
        PutU32(out, static_cast<std::uint32_t>(game.StartLevel));
        PutU32(out, game.Ticks);
        PutU32(out, static_cast<std::uint32_t>(game.Seeds.size()));
        PutU32(out, static_cast<std::uint32_t>(game.LevelChanges.size()));
        for (std::uint32_t seed : game.Seeds) PutU32(out, seed);
        for (const LevelChange& change : game.LevelChanges) {
            PutU32(out, change.Tick);
            PutU32(out, static_cast<std::uint32_t>(change.Level));
        }
        out.insert(out.end(), game.Moves.begin(), game.Moves.end());
        PutU32(out, Crc32(std::span(out).subspan(start)));
    }
    return out;
}

ReplayRead ReadReplayImage(std::span<const std::uint8_t> bytes) {
    ReplayRead read;
    ByteReader in(bytes);
    const auto magic = in.Take(kMagic.size());
    if (magic.empty() || !std::equal(magic.begin(), magic.end(), kMagic.begin()) ||
        in.U32() != kReplayFormatVersion) {
        read.Damaged = !bytes.empty();
        return read;
    }
    while (in.Left() > 0) {
        const std::size_t start = in.At();
        const std::uint32_t length = in.U32();
        // A length out of bounds leaves nothing to find the next record by.
        if (!in.Ok() || length < kReplayFixedBodyBytes || length > kMaxReplayBodyBytes ||
            in.Left() < std::size_t{length} + 4) {
            read.Damaged = true;
            break;
        }
        const auto body = in.Take(length);
        const std::uint32_t crc = in.U32();
        KeptReplay replay;
        if (Crc32(bytes.subspan(start, 4 + std::size_t{length})) != crc ||
            !ReadBody(body, replay)) {
            read.Damaged = true;
            continue;
        }
        read.Replays.push_back(std::move(replay));
    }
    return read;
}

std::vector<KeptReplay> ReplaysToKeep(const ScoreTable& table,
                                      const std::vector<KeptReplay>& candidates) {
    std::vector<KeptReplay> kept;
    std::vector<bool> taken(candidates.size());
    for (const ScoreEntry& row : table.Rows) {
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (taken[i] || !SameRow(candidates[i].Row, row) ||
                candidates[i].Game.FinalScore != row.Points)
                continue;
            taken[i] = true;
            kept.push_back(candidates[i]);
            break;
        }
    }
    return kept;
}

const KeptReplay* ReplayForRow(const std::vector<KeptReplay>& replays, const ScoreEntry& row) {
    for (const KeptReplay& replay : replays)
        if (SameRow(replay.Row, row) && replay.Game.FinalScore == row.Points) return &replay;
    return nullptr;
}

ReplayLoad LoadReplayFile(ScoreFileSystem& files, const std::string& path) {
    if (!files.Exists(path)) return {};
    std::vector<std::uint8_t> bytes(kMaxReplayFileBytes + 1);
    std::size_t bytesRead = 0;
    const int code = files.ReadPrefix(path, bytes.data(), bytes.size(), bytesRead);
    if (code != kIoOk) return {{}, {code}};
    bytes.resize(std::min(bytesRead, kMaxReplayFileBytes));
    ReplayLoad load{ReadReplayImage(bytes), {}};
    if (bytesRead > kMaxReplayFileBytes) load.Read.Damaged = true;
    return load;
}

IoStatus SaveReplayFile(ScoreFileSystem& files, const std::string& path,
                        const std::vector<KeptReplay>& replays) {
    const std::vector<std::uint8_t> image = ReplayImage(replays);
    const std::string temporary = TemporaryScorePath(path);
    std::size_t written = 0;
    int code = files.WriteWhole(temporary, image.data(), image.size(), written);
    if (code == kIoOk && written < image.size()) code = kIoDiskFull;
    if (code == kIoOk) code = files.Replace(temporary, path);
    if (code != kIoOk) files.Remove(temporary);
    return {code};
}

IoStatus SaveReplays(const ScoreFileHold& hold, const ScoreTable& table, int row,
                     const GameRecord* finished, std::vector<KeptReplay>& known) {
    if (!hold.Held()) return hold.Status();
    std::vector<KeptReplay> candidates;
    if (finished && row >= 0 && row < kScoreRows &&
        finished->FinalScore == table.Rows[row].Points && VerifyRecord(*finished))
        candidates.push_back({table.Rows[row], *finished});
    const std::string path = ReplayPathBeside(hold.Path());
    ReplayLoad now = LoadReplayFile(hold.Files(), path);
    for (KeptReplay& replay : now.Read.Replays) candidates.push_back(std::move(replay));
    candidates.insert(candidates.end(), known.begin(), known.end());
    known = ReplaysToKeep(table, candidates);
    return SaveReplayFile(hold.Files(), path, known);
}

}  // namespace quillory
