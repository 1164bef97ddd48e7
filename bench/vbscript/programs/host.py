# A host-object property loop: reading properties of an object implemented natively (sys, os.path).
import sys
class Host:
    def __init__(self):
        self._args = sys.argv[1:]
        self._name = "host.vbs"
    @property
    def count(self):
        return len(self._args)
    @property
    def script_name(self):
        return self._name
def run():
    host = Host()
    total = 0
    for i in range(1, 1000001):
        total = total + host.count + len(host.script_name)
    return total
print(run())
