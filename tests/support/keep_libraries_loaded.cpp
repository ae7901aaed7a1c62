// Preloaded into sanitized test runs: the GL driver is unloaded at shutdown,
// and the leak checker can then no longer tell that its leftovers are the
// driver's own and not ours. Keeping every library loaded keeps them named.
extern "C" int dlclose(void*)
{
    return 0;
}
