"""Where the benchmarks find the program: the build folder named by --build or $JUKARIUM_BUILD,
else the most recently built one below the source tree (any folder with a CMakeCache.txt and a
jukarium beside it)."""
import glob, os, sys

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def find(given=None):
    folder = given or os.environ.get("JUKARIUM_BUILD")
    if not folder:
        built = [os.path.dirname(cache) for cache in glob.glob(os.path.join(SOURCE, "*", "CMakeCache.txt"))
                 if os.path.isfile(os.path.join(os.path.dirname(cache), "jukarium"))]
        if not built:
            sys.exit("no build of jukarium below %s: build one (make build) or name it with "
                     "--build or JUKARIUM_BUILD" % SOURCE)
        folder = max(built, key=lambda f: os.path.getmtime(os.path.join(f, "jukarium")))
    return os.path.abspath(folder)


def require(path):
    """path, or the end of the benchmark with a message naming it."""
    if not os.path.exists(path):
        sys.exit("missing %s: build the targets jukarium and jk_bench_modules" % path)
    return path
