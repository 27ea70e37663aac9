#pragma once
// The grid sweeps' threads: one pool of std::thread workers shared by every sweep. A sweep hands
// over a range of items [0, count) (points, rows, planes, runs of a file) cut into chunks of
// `grain` items; the threads, the caller among them, claim chunks in increasing order. Every
// item must be computed from its inputs alone, never from what another item of the same sweep
// wrote, so a result does not depend on which thread made it nor on how many there are.
#include <cstddef>
#include <utility>

namespace qv {

// Threads a sweep uses, the calling thread included: set once by the command from the user's
// choice; until then every core this process may use. 1 runs every sweep on the calling thread.
int sweep_threads();
void set_sweep_threads(int threads);

namespace parallel_detail {
using ChunkCall = void (*)(void* body, std::size_t begin, std::size_t end, int slot);
void run_chunks(std::size_t count, std::size_t grain, ChunkCall call, void* body);
}  // namespace parallel_detail

// Calls body(begin, end, slot) for consecutive chunks [begin, end) of at most `grain` items
// covering [0, count), each once, on up to sweep_threads() threads; returns when all are done.
// `slot`, from 0 to sweep_threads() - 1, tells which thread runs the chunk, so that a body can
// keep scratch space per slot; no two chunks of one sweep run with the same slot at once.
// When chunks throw, the exception of the first of them in item order is rethrown here (as one
// thread would have thrown it); chunks after it may be left undone. A sweep started inside
// another runs on the calling thread alone.
template <class Body>
void parallel_chunks(std::size_t count, std::size_t grain, Body&& body) {
  auto call = [](void* b, std::size_t begin, std::size_t end, int slot) {
    (*static_cast<std::remove_reference_t<Body>*>(b))(begin, end, slot);
  };
  parallel_detail::run_chunks(count, grain, call, const_cast<void*>(static_cast<const void*>(&body)));
}

// The same for a body that needs no scratch: body(begin, end).
template <class Body>
void parallel_for(std::size_t count, std::size_t grain, Body&& body) {
  parallel_chunks(count, grain, [&body](std::size_t begin, std::size_t end, int) { body(begin, end); });
}

}  // namespace qv
