"""The engines and the browser driver the gallery's tests run under node,
pinned, installed once into the build folder for all of them, and the
engines' readers run on a script (engine_readers.mjs)."""
import fcntl
import json
import os
import shutil
import subprocess

NODE_PACKAGES = ['pixi.js@8.22.0', '@esotericsoftware/spine-core@4.3.13',
                 '@esotericsoftware/spine-webgl@4.3.13', 'phaser@3.90.0',
                 'phaser4@npm:phaser@4.2.1', 'playwright-core@1.65.2']


def node_modules(node_dir):
    """The folder of the installed packages; None without node. The tests run
    side by side, so one installs while the others wait."""
    if shutil.which('node') is None:
        return None
    os.makedirs(node_dir, exist_ok=True)
    marker = os.path.join(node_dir, 'installed.txt')
    wanted = ' '.join(NODE_PACKAGES)
    with open(os.path.join(node_dir, 'install.lock'), 'w') as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.exists(marker) or open(marker).read() != wanted:
            subprocess.run(['npm', 'install', '--no-audit', '--no-fund', '--no-save', '--prefix',
                            node_dir] + NODE_PACKAGES, check=True, capture_output=True)
            with open(marker, 'w') as f:
                f.write(wanted)
    return os.path.join(node_dir, 'node_modules')


def read_with_engine(modules, mode, path, *args):
    """What engine_readers.mjs in `mode` makes of the script at `path`, with
    the packages of `modules` (node_modules' result)."""
    reader = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'engine_readers.mjs')
    result = subprocess.run(['node', reader, mode, path] + [str(a) for a in args], check=True,
                            capture_output=True, env=dict(os.environ, OZ_NODE_MODULES=modules))
    return json.loads(result.stdout)
