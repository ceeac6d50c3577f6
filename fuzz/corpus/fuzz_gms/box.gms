gmax
new object
{
0 0 0
Box
trimesh()
mesh
3 1 3
v
0 0 0
1 0 0
1 1 0
end
f
0 1 2
end
n
0 0 1
0 0 1
0 0 1
end
t
0 0
1 0
1 1
end
tf
0 1 2
end
}
