"""One build by orvane-zozivi-cli for the gallery's tests: the sheet, the
script expanded from a template, and the frames' names in the program's
order."""
import json
import os
import subprocess

# Lists the frames as the program orders them.
ORDER_TEMPLATE = ('ov.Extension = ".json"\n[\nov.Repeat\n"ov.ImageFileJSON"ov.Comma\n'
                  'ov.Until = ov.ImageCount\n]\n')


def run_build(cli, folder, sheet, template, data, options=()):
    """Builds `folder` into `sheet` with `options` and expands `template` (a
    path, or the name of a script in the template folder) into `data`. The
    program's template folder is one of its own beside `sheet`. Returns the
    frames' file names in order and the finished process."""
    out = os.path.dirname(sheet)
    env = dict(os.environ, HOME=out)
    order = os.path.join(out, 'order.txt')
    with open(order, 'w') as f:
        f.write(ORDER_TEMPLATE)
    base = [cli, '--sheet', sheet, folder] + list(options)
    names = json.loads(subprocess.run(base + ['--script', order, '--data', '-'], check=True,
                                      capture_output=True, env=env).stdout)
    run = subprocess.run(base + ['--script', template, '--data', data], capture_output=True,
                         env=env)
    return names, run
