#include "winport/window/Backend.h"
namespace winport {
std::unique_ptr<Backend> MakeSdl2Backend() { return nullptr; }
}
