// Keeps a library whose folder has no sources yet a valid target.
namespace kv {
int emptyLibraryAnchor() { return 0; }
}  // namespace kv
