-- Sorting an array: quicksort of pseudo-random numbers, array element reads and writes.
local data = {}
local function quick_sort(lo, hi)
  local i, j = lo, hi
  local pivot = data[(lo + hi) // 2]
  while i <= j do
    while data[i] < pivot do i = i + 1 end
    while data[j] > pivot do j = j - 1 end
    if i <= j then
      data[i], data[j] = data[j], data[i]
      i = i + 1; j = j - 1
    end
  end
  if lo < j then quick_sort(lo, j) end
  if i < hi then quick_sort(i, hi) end
end
local n, seed = 200000, 12345
for k = 0, n - 1 do
  seed = (seed * 1103 + 12345) % 1000003
  data[k] = seed
end
quick_sort(0, n - 1)
local ok = true
for k = 1, n - 1 do if data[k - 1] > data[k] then ok = false end end
print(ok)
