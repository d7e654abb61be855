// The one source of the object library that builds the shared precompiled header.
namespace kv {
int emptyLibraryAnchor() { return 0; }
}  // namespace kv
