# Method calls on class objects: a counter object called in a loop.
class Counter:
    def __init__(self):
        self.total = 0
    def add(self, n):
        self.total = self.total + n
    @property
    def value(self):
        return self.total
def run():
    c = Counter()
    for i in range(1, 1000001):
        c.add(i % 3)
    return c.value
print(run())
