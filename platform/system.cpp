// Time, date, random numbers and threads on the C++ standard library.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/system.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>
#include <map>
#include <mutex>
#include <random>
#include <thread>

namespace nonari {

namespace {

std::mt19937& generator() {
    static std::mt19937 engine(5489u);
    return engine;
}

std::atomic<bool> endSignal{false};
int endPipe[2] = {-1, -1};

void noteEndSignal(int) {
    const int saved = errno;
    endSignal = true;
    [[maybe_unused]] const ssize_t ignored = ::write(endPipe[1], "e", 1);
    errno = saved;
}

std::mutex threadsMutex;
std::map<ThreadHandle, std::thread> threads;
ThreadHandle nextThread = 1;

}  // namespace

double currentTime() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string todayText() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::to_string(local.tm_mday) + "." + std::to_string(local.tm_mon + 1) + "." +
           std::to_string(local.tm_year + 1900);
}

int random(int n) {
    if (n < 1) return 0;
    std::uniform_int_distribution<int> draw(0, n - 1);
    return draw(generator());
}

void seedRandom(std::uint32_t seed) { generator().seed(seed); }

void catchEndSignals() {
    if (endPipe[0] < 0 && ::pipe2(endPipe, O_NONBLOCK | O_CLOEXEC) != 0) return;
    struct sigaction action {};
    action.sa_handler = noteEndSignal;
    sigemptyset(&action.sa_mask);
    // A second signal ends the program at once, should the first wait behind a dialog; saves stay whole.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(signal, &action, nullptr);
}

bool endSignalled() { return endSignal; }

int endSignalDescriptor() { return endPipe[0]; }

void sleepMilliseconds(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

ThreadHandle startThread(std::function<void()> body) {
    std::lock_guard<std::mutex> lock(threadsMutex);
    ThreadHandle handle = nextThread++;
    threads.emplace(handle, std::thread(std::move(body)));
    return handle;
}

void joinThread(ThreadHandle thread) {
    std::thread t;
    {
        std::lock_guard<std::mutex> lock(threadsMutex);
        auto it = threads.find(thread);
        if (it == threads.end()) return;
        t = std::move(it->second);
        threads.erase(it);
    }
    if (t.joinable()) t.join();
}

void joinAllThreads() {
    std::map<ThreadHandle, std::thread> all;
    {
        std::lock_guard<std::mutex> lock(threadsMutex);
        all.swap(threads);
    }
    for (auto& [handle, t] : all)
        if (t.joinable()) t.join();
}

}  // namespace nonari
