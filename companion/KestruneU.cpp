// placeholder translation unit until the companion's classes land
namespace kestrune { int ModuleVersion() { return 1; } }
