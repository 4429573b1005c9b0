"""One build by orvane-zozivi-cli for the gallery's tests: the sheet, the
script expanded from a template, and the frames' names in the program's
order."""
import json
import os
import subprocess

# Lists the frames as the program orders them.
ORDER_TEMPLATE = ('ov.Extension = ".json"\n[\nov.Repeat\n"ov.ImageFileJSON"ov.Comma\n'
                  'ov.Until = ov.ImageCount\n]\n')


def numbered(path, count):
    """The files --multipack writes for `path` when there are `count` sheets:
    the path itself for one, else NAME-1.EXT, NAME-2.EXT and so on."""
    if count == 1:
        return [path]
    stem, extension = os.path.splitext(path)
    return ['%s-%d%s' % (stem, k, extension) for k in range(1, count + 1)]


def run_build(cli, folder, sheet, template, data, options=()):
    """Builds `folder` into `sheet` with `options` and expands `template` (a
    path, or the name of a script in the template folder) into `data`. The
    program's template folder is one of its own beside `sheet`. Returns the
    frames' file names in order (with --multipack, a list of them for each
    sheet) and the finished process."""
    out = os.path.dirname(sheet)
    env = dict(os.environ, HOME=out)
    order = os.path.join(out, 'order.txt')
    with open(order, 'w') as f:
        f.write(ORDER_TEMPLATE)
    base = [cli, '--sheet', sheet, folder] + list(options)
    if '--multipack' in options:
        listed = os.path.join(out, 'order.json')
        subprocess.run(base + ['--script', order, '--data', listed], check=True,
                       capture_output=True, env=env)
        count = 1
        while os.path.exists(numbered(listed, count + 1)[-1]):
            count += 1
        names = []
        for path in numbered(listed, count):
            with open(path) as f:
                names.append(json.load(f))
    else:
        names = json.loads(subprocess.run(base + ['--script', order, '--data', '-'], check=True,
                                          capture_output=True, env=env).stdout)
    run = subprocess.run(base + ['--script', template, '--data', data], capture_output=True,
                         env=env)
    return names, run
