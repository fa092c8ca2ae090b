// A block of memory that ends exactly where an inaccessible page begins: a read or write one
// byte past it stops the test program at once, in plain builds too (no sanitizer needed).
#pragma once
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace testsupport {

class GuardedBuffer {
 public:
  explicit GuardedBuffer(std::size_t bytes, std::uint8_t fill = 0) {
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t data = (bytes + page - 1) / page * page;
    m_size = data + page;
    void* p = mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return;
    m_map = static_cast<std::uint8_t*>(p);
    mprotect(m_map + data, page, PROT_NONE);
    m_data = m_map + data - bytes;
    std::memset(m_data, fill, bytes);
  }
  ~GuardedBuffer() {
    if (m_map) munmap(m_map, m_size);
  }
  GuardedBuffer(const GuardedBuffer&) = delete;
  GuardedBuffer& operator=(const GuardedBuffer&) = delete;

  std::uint8_t* data() const { return m_data; }

 private:
  std::uint8_t* m_map = nullptr;
  std::uint8_t* m_data = nullptr;
  std::size_t m_size = 0;
};

}  // namespace testsupport
