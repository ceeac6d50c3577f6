// Bloom blur, vertex part: a full-screen quad with its texture coordinates.
varying vec2 uv;

void main()
{
    gl_Position = ftransform();
    uv = gl_MultiTexCoord0.xy;
}
