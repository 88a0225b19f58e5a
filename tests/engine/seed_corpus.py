"""Writing and checking a committed fuzz seed corpus: the seed scripts' shared
command line (`SCRIPT OUT` writes the corpus, `SCRIPT --check DIR` tells
whether DIR is what the script makes now)."""
import os
import sys
import tempfile


def _made(make):
    with tempfile.TemporaryDirectory() as tmp:
        return {name + '.bin': body for name, body in make(tmp).items()}


def check(committed, make):
    made = _made(make)
    have = set(os.listdir(committed))
    stale = sorted(name for name in have & made.keys()
                   if open(os.path.join(committed, name), 'rb').read() != made[name])
    for what, names in (('missing', sorted(made.keys() - have)),
                        ('not made by the script', sorted(have - made.keys())),
                        ('different', stale)):
        for name in names:
            print('%s: %s' % (what, name))
    same = not stale and have == made.keys()
    print('%d seeds, %s' % (len(made), 'as committed' if same else 'run the script again'))
    return 0 if same else 1


def write(out, make):
    os.makedirs(out, exist_ok=True)
    for old in os.listdir(out):
        os.remove(os.path.join(out, old))
    for name, body in sorted(_made(make).items()):
        open(os.path.join(out, name), 'wb').write(body)
    return 0


def main(make):
    """`make(tmp)` gives the seeds by name, using `tmp` for scratch files."""
    if sys.argv[1] == '--check':
        sys.exit(check(sys.argv[2], make))
    sys.exit(write(sys.argv[1], make))
