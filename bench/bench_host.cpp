#include "bench_host.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/mman.h>

#include <vector>


namespace bench_host {
namespace {

struct Block {
    void* address;
    size_t bytes;
    bool live;
};

struct State {
    Memory memory = Memory::Reused;
    bool inCall = false;
    size_t nextSlot = 0;
    std::vector<Block> reused;  // by allocation index within a call, kept across calls
    std::vector<Block> fresh;   // this call's fresh blocks
};

State& state()
{
    static State s;
    return s;
}

// mmap gives page-aligned memory; a zero-byte request still gets a page, so
// that the pointer is unique.
void* mapPages(size_t bytes)
{
    void* pages = mmap(nullptr, bytes == 0 ? 1 : bytes, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED) {
        fprintf(stderr, "bench host: cannot map %zu bytes\n", bytes);
        abort();
    }
    return pages;
}

}  // namespace

void beginCall(Memory memory)
{
    State& s = state();
    s.memory = memory;
    s.inCall = true;
    s.nextSlot = 0;
    s.fresh.clear();
}

void endCall()
{
    State& s = state();
    for (Block& block : s.fresh)
        if (block.live)
            releasePages(block.address, block.bytes);
    s.fresh.clear();
    s.inCall = false;
}

void* freshPages(size_t bytes)
{
    return mapPages(bytes);
}

void releasePages(void* pages, size_t bytes)
{
    munmap(pages, bytes == 0 ? 1 : bytes);
}

void* allocate(size_t bytes)
{
    State& s = state();
    if (!s.inCall) {
        fprintf(stderr, "bench host: allocation outside a call\n");
        abort();
    }
    if (s.memory == Memory::Fresh) {
        void* pages = mapPages(bytes);
        s.fresh.push_back(Block{pages, bytes, true});
        return pages;
    }
    const size_t slot = s.nextSlot++;
    if (slot == s.reused.size())
        s.reused.push_back(Block{nullptr, 0, false});
    Block& block = s.reused[slot];
    if (block.address == nullptr || block.bytes != bytes) {
        if (block.address != nullptr)
            releasePages(block.address, block.bytes);
        block = Block{mapPages(bytes), bytes, true};
    }
    return block.address;
}

void release(void* pointer)
{
    State& s = state();
    if (s.memory != Memory::Fresh)
        return;  // reused buffers stay for the next call
    for (Block& block : s.fresh) {
        if (block.live && block.address == pointer) {
            block.live = false;
            releasePages(block.address, block.bytes);
            return;
        }
    }
}

}  // namespace bench_host
