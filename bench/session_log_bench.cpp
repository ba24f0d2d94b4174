// The activity log viewer's opening on a session folder of 1,000 to 100,000 logs: the folder is
// listed and sorted, and the first page of fifty described. The listing must open no log, and the
// page only its own fifty; inotify on the session folder counts every file actually opened.

#include <benchmark/benchmark.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "base/files.h"
#include "sessionlog/session_log_presenter.h"
#include "support/app_fixture.h"
#include "support/fake_command_host.h"

namespace {

class NullView final : public ovp::ISessionLogView {
  public:
    void Render(const ovp::SessionLogViewState& state) override { rows = state.rows.size(); }
    void CheckAllRows(bool) override {}
    void Close() override {}
    std::uintptr_t OwnerWindow() override { return 0; }
    std::size_t rows = 0;
};

constexpr std::array<const char*, 8> kOperations = {
    "Scheduled", "Backup", "Continuous Backup", "Restore", "Restore from Trash to Account",
    "Undo",      "Delete", "Delete(Trash)"};

// A user folder whose Session folder holds `count` logs of every kind, an hour apart, each with a
// few hundred lines of file names before its summary line.
struct Folder {
    explicit Folder(int count) {
        fx.WriteConfiguration();
        fx.SetCurrentUser("alice");
        fx.Context().traceUser.MarkKnown();
        session = fx.Context().values.UserFolder() / "Session";
        ovp::CreateFolders(session);
        std::string body;
        for (int line = 0; line < 300; ++line) {
            body += "  C:\\Users\\alice\\Documents\\Reports\\report " + std::to_string(line) + ".docx\r\n";
        }
        for (int n = 0; n < count; ++n) {
            const int hours = n;
            std::array<char, 96> name{};
            std::snprintf(name.data(), name.size(), "%s %02d-%02d-%04d %02d-%02d-%02d.txt",
                          kOperations[static_cast<std::size_t>(n) % kOperations.size()], 1 + hours / 24 / 28 % 12,
                          1 + hours / 24 % 28, 2026 - hours / 24 / 28 / 12, hours % 24, n % 60, (n * 7) % 60);
            ovp::test::WriteAll(session / name.data(), body + "[Backed up Files : 12]\r\nRestored Files : 12]\r\n");
        }
    }
    ovp::test::AppFixture fx;
    std::filesystem::path session;
};

Folder& FolderOf(int count) {
    static std::map<int, std::unique_ptr<Folder>> folders;
    auto& folder = folders[count];
    if (!folder) {
        folder = std::make_unique<Folder>(count);
    }
    return *folder;
}

// Names of files opened in the watched folder since the last call.
long DrainOpens(int watch) {
    long opens = 0;
    alignas(inotify_event) std::array<char, 64 * 1024> events{};
    for (;;) {
        const ssize_t length = ::read(watch, events.data(), events.size());
        if (length <= 0) {
            return opens;
        }
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events.data() + at);
            if ((event->mask & IN_OPEN) != 0 && event->len > 0) {
                ++opens;
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

void BM_OpenLogViewer(benchmark::State& state) {
    Folder& folder = FolderOf(static_cast<int>(state.range(0)));
    ovp::test::ScriptedMessageBox box;
    NullView view;
    ovp::frmSessionLog form(folder.fx.Context(), box, view);
    const int watch = ::inotify_init1(IN_NONBLOCK);
    ::inotify_add_watch(watch, folder.session.c_str(), IN_OPEN);
    DrainOpens(watch);
    long opens = 0;
    for (auto _ : state) {
        form.Form_Load();
        benchmark::DoNotOptimize(view.rows);
        state.PauseTiming();
        opens += DrainOpens(watch);
        state.ResumeTiming();
    }
    ::close(watch);
    state.counters["logs"] = static_cast<double>(state.range(0));
    state.counters["rows"] = static_cast<double>(view.rows);
    state.counters["files_opened"] = static_cast<double>(opens) / static_cast<double>(state.iterations());
}
// The listing alone: names read and sorted, no log opened.
void BM_ListSessionFolder(benchmark::State& state) {
    Folder& folder = FolderOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ovp::SortAndSplitLogFiles(folder.session));
    }
}
BENCHMARK(BM_ListSessionFolder)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_OpenLogViewer)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
