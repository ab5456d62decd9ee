#!/usr/bin/env python3
"""The guide's code: every C++ or CMake block is either a file of the guide's own game (marked
`<!-- file: NAME -->` above it), or lines that stand as they are in one of the examples, which
build and have tests of their own. The guide's game is built here against the installed
package with the given toolchain, and on 64-bit Windows run under Wine until Alt+F4 closes it.

guide_test.py GUIDE TOOLCHAIN PREFIX WORK"""
import os
import re
import shutil
import subprocess
import sys

from example import Checks, focus, press, start

guide, toolchain, prefix, work = sys.argv[1:5]
examples = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
checks = Checks()

text = open(guide, encoding='utf-8').read()
blocks = re.findall(r'(?:<!-- file: (\S+) -->\n)?```(cpp|cmake)\n(.*?)```', text, re.S)
sources = []
for folder, _, files in os.walk(examples):
    for name in files:
        if name.endswith(('.cpp', '.h')) or name == 'CMakeLists.txt':
            sources.append(open(os.path.join(folder, name), encoding='utf-8').read())

project = os.path.join(work, 'mygame')
shutil.rmtree(project, ignore_errors=True)
os.makedirs(project)
for file_name, language, code in blocks:
    # A frame loop that presents without waiting runs as fast as the machine can and burns a core.
    if re.search(r'while \(.*PumpMessage\(\)', code) and 'Present()' in code:
        checks.check('WaitFrame()' in code, f'the frame loop of {file_name or "a block"} waits for its frame')
    if file_name:
        with open(os.path.join(project, file_name), 'w', encoding='utf-8') as f:
            f.write(code)
        continue
    found = any(code in source for source in sources)
    checks.check(found, f'{language} block found in an example: {code.splitlines()[0].strip()}')

build = os.path.join(work, 'mygame-build')
shutil.rmtree(build, ignore_errors=True)
configure = subprocess.run(['cmake', '-S', project, '-B', build, '--toolchain', toolchain,
                            f'-DCMAKE_PREFIX_PATH={prefix}'], capture_output=True, text=True)
checks.equal(configure.returncode, 0, 'the guide\'s game configures')
made = subprocess.run(['cmake', '--build', build], capture_output=True, text=True)
checks.equal(made.returncode, 0, 'the guide\'s game builds')
if made.returncode != 0:
    print(configure.stdout[-2000:], configure.stderr[-2000:], made.stdout[-3000:], made.stderr[-3000:])

program = os.path.join(build, 'mygame.exe')
if made.returncode == 0 and 'x86_64' in toolchain:
    process, _ = start(program)
    try:
        checks.check(bool(focus('mygame')), 'the guide\'s game opens its window under Wine')
        press('alt+F4')
        checks.equal(process.wait(timeout=30), 0, 'exit code after Alt+F4')
    finally:
        if process.poll() is None:
            process.kill()
checks.done()
